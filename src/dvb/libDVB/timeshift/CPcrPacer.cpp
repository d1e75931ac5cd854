#include "dvb/libDVB/timeshift/CPcrPacer.h"

#include "base/ByteReader.h"

namespace libDVB {

uint32_t CPcrPacer::OnPcr(uint64_t pcr, uint64_t nowMs)
{
    const int64_t step = static_cast<int64_t>(pcr) - static_cast<int64_t>(m_previousPcr);
    m_previousPcr = pcr;
    if (!m_anchored || step > kDiscontinuity || step < -kDiscontinuity) {
        m_anchored = true;
        m_anchorPcr = pcr;
        m_anchorMs = nowMs;
        return 0;
    }
    const int64_t streamMs = (static_cast<int64_t>(pcr) - static_cast<int64_t>(m_anchorPcr)) / 90;
    const int64_t clockMs = static_cast<int64_t>(nowMs - m_anchorMs);
    const int64_t wait = streamMs - clockMs;
    if (wait <= 0)
        return 0;
    return wait > 0xFFFFFFFF ? 0xFFFFFFFFu : static_cast<uint32_t>(wait);
}

bool CPcrPacer::ReadPcrBase(const uint8_t* packet, uint32_t length, uint64_t* pcr)
{
    base::CByteReader reader(packet, length);
    reader.Skip(3);
    const unsigned control = (reader.U8() >> 4) & 3;
    if (!(control & 2))
        return false;
    const uint8_t adaptationLength = reader.U8();
    if (adaptationLength == 0)
        return false;
    base::CByteReader field = reader.Sub(adaptationLength);
    const uint8_t flags = field.U8();
    if (!(flags & 0x10)) // PCR_flag
        return false;
    const uint64_t base = field.Bits64(33);
    if (field.Overrun() || reader.Overrun())
        return false;
    if (pcr)
        *pcr = base;
    return true;
}

} // namespace libDVB
