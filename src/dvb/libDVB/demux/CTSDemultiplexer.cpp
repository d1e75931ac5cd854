#include "dvb/libDVB/demux/CTSDemultiplexer.h"

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
    CTSDemultiplexerStream* stream = m_streams[pid];
    return stream ? stream->OnPacket(packet, kTSPacketSize) : S_FALSE;
}

HRESULT CTSDemultiplexer::InputBytes(const uint8_t* data, uint32_t length)
{
    if (!data || length < kTSPacketSize)
        return S_FALSE;

    const uint8_t* p = data;
    const uint8_t* const end = data + length;
    if (m_carryCount > 0 && data[kTSPacketSize - m_carryCount] == kTSSyncByte) {
        const uint32_t need = kTSPacketSize - m_carryCount;
        std::memcpy(m_carry + m_carryCount, data, need);
        m_carryCount = 0;
        DeliverPacket(m_carry, kTSPacketSize);
        p += need;
    } else {
        m_carryCount = 0;
        while (p < end && *p != kTSSyncByte)
            ++p;
        if (p == end)
            return S_FALSE;
    }

    while (end - p >= static_cast<ptrdiff_t>(kTSPacketSize)) {
        while (*p != kTSSyncByte && end - p > static_cast<ptrdiff_t>(kTSPacketSize))
            ++p;
        DeliverPacket(p, kTSPacketSize);
        p += kTSPacketSize;
    }

    m_carryCount = static_cast<uint32_t>(end - p);
    std::memcpy(m_carry, p, m_carryCount);
    return S_OK;
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
