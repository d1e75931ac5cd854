// Real-time pacing of a transport stream by the PCR of one PID (ISO/IEC 13818-1, 2.4.3.5): the
// first PCR anchors the stream time to the clock; every later one says how long to wait until the
// clock has caught up with it. A jump of more than about 0.11 s either way is a discontinuity and
// anchors anew instead of waiting for it.
#pragma once

#include <cstdint>

namespace libDVB {

class CPcrPacer {
public:
    static constexpr int64_t kDiscontinuity = 10000; // 90 kHz units

    // The milliseconds to wait before the packet that carries `pcr` (its 33-bit base) is passed
    // on, given the clock's reading in milliseconds; 0 when it is due.
    uint32_t OnPcr(uint64_t pcr, uint64_t nowMs);
    void Reset() { m_anchored = false; }

    // The 33-bit PCR base of a 188-byte packet; false when the packet carries no PCR.
    static bool ReadPcrBase(const uint8_t* packet, uint32_t length, uint64_t* pcr);

private:
    bool m_anchored = false;
    uint64_t m_anchorPcr = 0;
    uint64_t m_anchorMs = 0;
    uint64_t m_previousPcr = 0;
};

} // namespace libDVB
