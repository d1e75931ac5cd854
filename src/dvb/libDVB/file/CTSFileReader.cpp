#include "dvb/libDVB/file/CTSFileReader.h"

#include <cstring>

namespace libDVB {

namespace {

// The next position from `at` that looks like a packet start: a sync byte whose successor one
// packet further is a sync byte too, when the data reaches that far. A lone 0x47 inside a payload
// would otherwise misalign every following packet.
uint32_t FindSync(const uint8_t* data, uint32_t length, uint32_t at)
{
    for (; at < length; ++at) {
        if (data[at] != kTSSyncByte)
            continue;
        if (at + kTSPacketSize >= length || data[at + kTSPacketSize] == kTSSyncByte)
            return at;
    }
    return length;
}

} // namespace

CTSFileReader::CTSFileReader(CTSDemultiplexer* router) : m_router(router), m_block(new uint8_t[kBlockSize]) {}

bool CTSFileReader::Run(CSource& source, CClock& clock)
{
    m_pacer.Reset();
    while (!clock.StopRequested()) {
        if (m_at >= m_filled) {
            m_filled = source.Read(m_block.get(), kBlockSize);
            m_at = 0;
            if (m_filled < kTSPacketSize) {
                m_filled = 0;
                return true;
            }
            JoinCarry();
        }
        if (!CutBlock(clock))
            return false;
    }
    return false;
}

void CTSFileReader::JoinCarry()
{
    if (m_carryCount == 0 || m_carryCount == kTSPacketSize)
        return;
    // The carried packet is complete only when the next one starts right behind it.
    const uint32_t missing = kTSPacketSize - m_carryCount;
    if (m_block[missing] == kTSSyncByte) {
        std::memcpy(m_carry + m_carryCount, m_block.get(), missing);
        m_carryCount = kTSPacketSize;
        m_at = missing;
    } else {
        m_carryCount = 0;
    }
}

bool CTSFileReader::CutBlock(CClock& clock)
{
    if (m_carryCount == kTSPacketSize) {
        if (!OnPacket(m_carry, clock))
            return false;
        m_carryCount = 0;
    }
    const uint8_t* data = m_block.get();
    while (m_at < m_filled) {
        if (data[m_at] != kTSSyncByte)
            m_at = FindSync(data, m_filled, m_at);
        if (m_filled - m_at < kTSPacketSize)
            break;
        if (!OnPacket(data + m_at, clock))
            return false;
        m_at += kTSPacketSize;
    }
    // The tail (always starting with a sync byte) waits for the next block.
    if (m_at < m_filled) {
        m_carryCount = m_filled - m_at;
        std::memcpy(m_carry, data + m_at, m_carryCount);
        m_at = m_filled;
    }
    return true;
}

bool CTSFileReader::OnPacket(const uint8_t* packet, CClock& clock)
{
    uint64_t pcr = 0;
    if (m_pacingPid < 0) {
        if (CPcrPacer::ReadPcrBase(packet, kTSPacketSize, nullptr))
            ++m_pcrCounts[TSPacketPid(packet)];
    } else if (TSPacketPid(packet) == m_pacingPid && CPcrPacer::ReadPcrBase(packet, kTSPacketSize, &pcr)) {
        const uint32_t wait = m_pacer.OnPcr(pcr, clock.NowMs());
        if (wait > 0 && clock.Wait(wait))
            return false;
    }
    if (m_router)
        m_router->DeliverPacket(packet, kTSPacketSize);
    return true;
}

int32_t CTSFileReader::ChoosePacingPid()
{
    uint32_t best = 0;
    for (const auto& entry : m_pcrCounts) {
        if (entry.second > best) {
            best = entry.second;
            m_pacingPid = entry.first;
        }
    }
    m_pcrCounts.clear();
    return m_pacingPid;
}

} // namespace libDVB
