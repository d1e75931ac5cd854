// Timeshift: from the first pause every packet of a service goes into a ring in a temporary file,
// and a reader thread plays the packets back out of the ring, paced in real time by the PCR of one
// PID, to the owner's callback. Recording goes on while the replay runs.
#pragma once

#include <cstdint>
#include <memory>

#include "base/Lock.h"
#include "base/Result.h"
#include "dvb/libDVB/timeshift/win/CPacingClock.h"
#include "dvb/libDVB/timeshift/CTSPacketBufferInterface.h"
#include "dvb/libDVB/timeshift/CTSRingFile.h"
#include "dvb/libDVB/timeshift/win/CTSTemporaryFile.h"

namespace libDVB {

class CTSPacketBuffer : public CTSPacketBufferInterface {
public:
    // The time base of the replay's pacing.
    using CClock = CPacingClock;

    static constexpr uint32_t kTransferSize = CTSRingFile::kTransferSize;

    explicit CTSPacketBuffer(CTSPacketBufferCallback* callback);
    // With a clock of the caller's (null: the tick count) and a ring of the caller's size
    // (0: the standard step, and 70 % of the temp drive's free space as the maximum).
    CTSPacketBuffer(CTSPacketBufferCallback* callback, CClock* clock, uint64_t ringStep, uint64_t ringMaximum);
    ~CTSPacketBuffer() override;
    // Makes services create this buffer (the factory of CTSPacketBufferInterface).
    static void Install();
    CTSPacketBuffer(const CTSPacketBuffer&) = delete;
    CTSPacketBuffer& operator=(const CTSPacketBuffer&) = delete;

    // Starts recording (creating the file on the first pause); 1 when already paused, E_FAIL when
    // the temporary file cannot be made.
    HRESULT Pause(uint16_t pacingPid) override;
    // Starts the replay, or resumes it when the reader already runs; 1 when not paused.
    HRESULT Play() override;
    // The service's packet entry: 1 while the buffer does not exist (pass the packet on directly).
    HRESULT Write(const uint8_t* packet, uint32_t length) override;
    // Ends the replay, deletes the ring and its file.
    HRESULT Stop() override;

    bool IsPaused() const override;
    bool IsCreated() const override;
    // Ring state, for the owner's display and for tests.
    uint64_t GetRingSize() const;
    uint64_t GetRingMaximum() const;
    uint64_t GetRingUsed() const;
    std::wstring GetFilePath() const;

private:
    static unsigned __stdcall ReaderEntry(void* self);
    void ReaderLoop();

    CTSPacketBufferCallback* m_callback;
    CClock* m_clock;
    std::unique_ptr<CClock> m_ownClock;
    uint64_t m_ringStep;
    uint64_t m_ringMaximum;

    mutable base::CCriticalSection m_lock;
    bool m_paused = false;
    bool m_created = false;
    std::unique_ptr<CTSTemporaryFile> m_file;
    std::unique_ptr<CTSRingFile> m_ring;
    std::unique_ptr<uint8_t[]> m_transfer;
    uint32_t m_fill = 0;
    uint16_t m_pacingPid = 0;
    HANDLE m_thread = nullptr;
    HANDLE m_stop = nullptr;
    HANDLE m_data = nullptr; // set whenever bytes reach the ring
};

} // namespace libDVB
