#include "dvb/libDVB/demux/CTSDemultiplexer.h"

#include <algorithm>
#include <cstring>

namespace libDVB {

CTSDemultiplexer::CTSDemultiplexer()
{
    for (uint32_t pid = 0; pid < kPidCount; ++pid) {
        m_streams[pid] = nullptr;
        m_enabled[pid].store(0, std::memory_order_relaxed);
    }
}

HRESULT CTSDemultiplexer::DeliverPacket(const uint8_t* packet, uint32_t length)
{
    if (!packet || length != kTSPacketSize || packet[0] != kTSSyncByte || (packet[1] & 0x80))
        return E_FAIL;
    const uint16_t pid = TSPacketPid(packet);
    // The enable flag is read without holding the stream lock, as the lock order demands.
    if (!m_enabled[pid].load(std::memory_order_acquire))
        return S_FALSE;
    base::CScopedLock lock(m_streamLock);
    return Route(packet, pid);
}

HRESULT CTSDemultiplexer::Route(const uint8_t* packet, uint16_t pid)
{
    CTSDemultiplexerStream* stream = m_streams[pid];
    return stream ? stream->OnPacket(packet, kTSPacketSize) : S_FALSE;
}

HRESULT CTSDemultiplexer::InputBytes(const uint8_t* data, uint32_t length)
{
    if (!data || length == 0)
        return S_FALSE;

    // One lock for the whole input rather than one a packet: taking it was most of a packet's cost.
    base::CScopedLock lock(m_streamLock);
    bool delivered = false;
    bool inSync = m_carryInSync;
    uint32_t offset = 0; // where the scan goes on in `data`
    if (m_carryCount > 0) {
        // The carried tail and the first bytes of the new input side by side: every packet that
        // starts inside the carry can be confirmed (or refused) here, and the scan then goes on
        // in the input itself.
        uint8_t stage[kTSPacketSize + kTSPacketSize + 1];
        const uint32_t carried = m_carryCount;
        const uint32_t taken = std::min<uint32_t>(length, kTSPacketSize + 1);
        std::memcpy(stage, m_carry, carried);
        std::memcpy(stage + carried, data, taken);
        const uint32_t total = carried + taken;
        const bool whole = taken == length;
        m_carryCount = 0;
        const uint32_t stop = Scan(stage, total, whole ? total : carried, delivered, inSync);
        if (whole) {
            Keep(stage + stop, total - stop);
            m_carryInSync = inSync;
            return delivered ? S_OK : S_FALSE;
        }
        offset = stop - carried;
    }
    const uint32_t stop = Scan(data + offset, length - offset, length - offset, delivered, inSync);
    Keep(data + offset + stop, length - offset - stop);
    m_carryInSync = inSync;
    return delivered ? S_OK : S_FALSE;
}

void CTSDemultiplexer::StartInput()
{
    base::CScopedLock lock(m_streamLock);
    m_carryCount = 0;
    m_carryInSync = false;
}

HRESULT CTSDemultiplexer::EndInput()
{
    base::CScopedLock lock(m_streamLock);
    // A lone sync byte in garbage is no packet: only one whose sync byte confirmed its predecessor.
    const bool whole = m_carryCount == kTSPacketSize && m_carryInSync;
    m_carryCount = 0;
    m_carryInSync = false;
    if (!whole)
        return S_FALSE;
    RouteCut(m_carry);
    return S_OK;
}

// Routes the packets of data[0, size) that start before `limit` and returns where it stopped:
// at `limit` or later, or earlier at a sync byte whose confirmation lies beyond `size`.
// A 0x47 counts as a packet start only when another 0x47 follows 188 bytes later: a sync byte
// inside a payload or in garbage never invents a packet, and a packet whose successor has lost
// its sync byte is dropped while the search goes on one byte further. `inSync` tells, on entry and
// on return, whether data[p] lies right behind a confirmed packet.
uint32_t CTSDemultiplexer::Scan(const uint8_t* data, uint32_t size, uint32_t limit, bool& delivered, bool& inSync)
{
    uint32_t p = 0;
    while (p < limit) {
        if (data[p] != kTSSyncByte) {
            inSync = false;
            const void* next = std::memchr(data + p, kTSSyncByte, limit - p);
            if (!next)
                return limit;
            p = static_cast<uint32_t>(static_cast<const uint8_t*>(next) - data);
        }
        if (size - p <= kTSPacketSize)
            return p; // the confirming byte is not here yet: carry from this sync byte
        if (data[p + kTSPacketSize] != kTSSyncByte) {
            inSync = false;
            ++p;
            continue;
        }
        RouteCut(data + p);
        delivered = true;
        inSync = true;
        p += kTSPacketSize;
    }
    return p;
}

void CTSDemultiplexer::RouteCut(const uint8_t* packet)
{
    const uint16_t pid = TSPacketPid(packet);
    if (!(packet[1] & 0x80) && m_enabled[pid].load(std::memory_order_acquire))
        Route(packet, pid);
}

void CTSDemultiplexer::Keep(const uint8_t* tail, uint32_t count)
{
    // At most one packet: a sync byte is always kept with exactly the bytes that follow it.
    m_carryCount = std::min<uint32_t>(count, kTSPacketSize);
    std::memmove(m_carry, tail + count - m_carryCount, m_carryCount);
}

HRESULT CTSDemultiplexer::RegisterStream(CTSDemultiplexerStream* stream)
{
    if (!stream)
        return E_INVALIDARG;
    const uint16_t pid = stream->GetPid();
    if (pid >= kPidCount)
        return E_INVALIDARG;
    base::CScopedLock lock(m_streamLock);
    if (m_streams[pid])
        return E_INVALIDARG;
    m_streams[pid] = stream;
    EnablePid(pid);
    return S_OK;
}

HRESULT CTSDemultiplexer::UnregisterStream(uint16_t pid, CTSDemultiplexerStream** out)
{
    if (pid >= kPidCount)
        return S_FALSE;
    DisablePid(pid);
    base::CScopedLock lock(m_streamLock);
    CTSDemultiplexerStream* stream = m_streams[pid];
    m_streams[pid] = nullptr;
    if (out)
        *out = stream;
    return stream ? S_OK : S_FALSE;
}

HRESULT CTSDemultiplexer::SetPidFlag(uint16_t pid, uint8_t flag)
{
    if (pid >= kPidCount)
        return S_FALSE;
    base::CScopedLock lock(m_enableLock);
    const uint8_t previous = m_enabled[pid].exchange(flag, std::memory_order_acq_rel);
    return previous == flag ? S_FALSE : S_OK;
}

HRESULT CTSDemultiplexer::EnablePid(uint16_t pid) { return SetPidFlag(pid, 1); }
HRESULT CTSDemultiplexer::DisablePid(uint16_t pid) { return SetPidFlag(pid, 0); }

bool CTSDemultiplexer::IsPidEnabled(uint16_t pid) const
{
    return pid < kPidCount && m_enabled[pid].load(std::memory_order_acquire) != 0;
}

CTSDemultiplexerStream* CTSDemultiplexer::FindStream(uint16_t pid)
{
    if (pid >= kPidCount)
        return nullptr;
    base::CScopedLock lock(m_streamLock);
    return m_streams[pid];
}

} // namespace libDVB
