// The transport-stream engine whose device is a file on disk: a below-normal reader thread reads
// it in blocks and feeds the router in real time, paced on the PCR of the PID that carries the
// most PCRs, so a recorded stream plays like a live channel.
#pragma once

#include <string>

#include "base/Lock.h"
#include "dvb/libDVB/engine/CTSEngine.h"
#include "dvb/libDVB/file/CTSFileReader.h"
#include "dvb/libDVB/timeshift/CPacingClock.h"

namespace libDVB {

class CTSFileEngine : public CTSEngine {
public:
    // The time base of the pacing (null: the tick count, waits on the stop event).
    using CClock = CPacingClock;

    static constexpr uint32_t kPatWaitMs = 500;
    static constexpr uint32_t kTablesWaitMs = 2000;

    CTSFileEngine(CTSEngineCallback* owner, const std::u16string& path, CClock* clock = nullptr);
    ~CTSFileEngine() override;

    // Opens the file (other readers allowed, writers refused), then starts the engine.
    HRESULT Start(CServiceManager::CServiceManagerCallback* listener) override;
    HRESULT Stop() override;
    // Pre-reads the file unpaced until its PAT, PMTs and SDT are known, chooses the pacing PID and
    // rewinds.
    HRESULT OpenDevice() override;
    // 1 while a reader thread exists; E_FAIL when the file is not open.
    HRESULT StartStreaming() override;
    HRESULT StopStreaming() override;
    // A file pauses by stopping its reader (timeshift needs no buffer for it).
    HRESULT CanPause() override { return S_FALSE; }

    int32_t GetPacingPid();
    const std::u16string& GetPath() const { return m_path; }

private:
    class CFileSource;
    class CThreadClock;
    static unsigned __stdcall ReaderEntry(void* self);
    void ReaderLoop();
    void CloseFile();

    std::u16string m_path;
    CClock* m_clock;
    std::unique_ptr<CClock> m_ownClock;
    base::CCriticalSection m_lock; // the file handle and the thread handle
    HANDLE m_file = INVALID_HANDLE_VALUE;
    HANDLE m_stop = nullptr;
    HANDLE m_thread = nullptr;
    CTSFileReader m_reader; // used by the reader thread only while it runs
};

} // namespace libDVB
