// The reading side of the transport-stream file engine: cuts blocks of a file into 188-byte
// packets (with a carry for the packet that straddles two blocks), counts the PCRs of each PID
// while no pacing PID is chosen, and paces the packets in real time on the PCR of the chosen PID
// (ISO/IEC 13818-1, 2.4.2.2) before handing them to the PID router. The file, the thread and the
// clock belong to the caller, so the loop runs the same over a memory file and a simulated clock.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "dvb/libDVB/demux/CTSDemultiplexer.h"
#include "dvb/libDVB/demux/TSPacket.h"
#include "dvb/libDVB/timeshift/CPcrPacer.h"

namespace libDVB {

class CTSFileReader {
public:
    static constexpr uint32_t kBlockPackets = 336;
    static constexpr uint32_t kBlockSize = kBlockPackets * kTSPacketSize; // 63,168 bytes

    class CSource {
    public:
        // Up to `size` bytes into `data`; the count read (0 at the end or on an error).
        virtual uint32_t Read(uint8_t* data, uint32_t size) = 0;

    protected:
        ~CSource() = default;
    };

    class CClock {
    public:
        virtual uint64_t NowMs() = 0;
        // Waits `ms` milliseconds unless a stop is requested first; true when it was.
        virtual bool Wait(uint32_t ms) = 0;
        virtual bool StopRequested() = 0;

    protected:
        ~CClock() = default;
    };

    explicit CTSFileReader(CTSDemultiplexer* router);
    CTSFileReader(const CTSFileReader&) = delete;
    CTSFileReader& operator=(const CTSFileReader&) = delete;

    // Reads, paces and delivers until the source ends (a read of fewer than 188 bytes) or a stop
    // is requested; true at the end of the source. A stop keeps the rest of the current block for
    // the next run, the packet whose pacing wait it ended included. The pacing starts from a new
    // anchor, so a file resumed after a pause is paced from the moment it resumes.
    bool Run(CSource& source, CClock& clock);

    // The source was sought: the carried tail and the rest of the block belong to another place.
    void ClearCarry()
    {
        m_carryCount = 0;
        m_at = m_filled = 0;
    }
    // Chooses the PID with the most PCRs (a later PID only when its count is strictly greater)
    // and empties the counts; -1 when no PID carried a PCR (the file then plays unpaced).
    int32_t ChoosePacingPid();
    // Back to counting, as before a file is opened.
    void ForgetPacingPid()
    {
        m_pacingPid = -1;
        m_pcrCounts.clear();
    }
    int32_t GetPacingPid() const { return m_pacingPid; }
    const std::map<uint16_t, uint32_t>& GetPcrCounts() const { return m_pcrCounts; }
    uint32_t GetCarriedBytes() const { return m_carryCount; }

private:
    void JoinCarry();
    bool CutBlock(CClock& clock);
    bool OnPacket(const uint8_t* packet, CClock& clock);

    CTSDemultiplexer* m_router;
    std::unique_ptr<uint8_t[]> m_block;
    uint32_t m_filled = 0; // bytes of the block read
    uint32_t m_at = 0;     // the next byte of the block to cut
    // The tail of the previous block (fewer than 188 bytes), or a packet completed from it that
    // is still to be delivered (188).
    uint8_t m_carry[kTSPacketSize];
    uint32_t m_carryCount = 0;
    std::map<uint16_t, uint32_t> m_pcrCounts;
    int32_t m_pacingPid = -1;
    CPcrPacer m_pacer;
};

} // namespace libDVB
