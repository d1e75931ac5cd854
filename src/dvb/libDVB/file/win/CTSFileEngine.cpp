#include "dvb/libDVB/file/win/CTSFileEngine.h"

#include "dvb/libDVB/timeshift/PacedReaderThread.h"

namespace libDVB {

class CTSFileEngine::CFileSource : public CTSFileReader::CSource {
public:
    explicit CFileSource(HANDLE file) : m_file(file) {}
    uint32_t Read(uint8_t* data, uint32_t size) override
    {
        DWORD got = 0;
        if (!ReadFile(m_file, data, size, &got, nullptr))
            return 0;
        return got;
    }

private:
    HANDLE m_file;
};

class CTSFileEngine::CThreadClock : public CTSFileReader::CClock {
public:
    CThreadClock(CTSFileEngine::CClock* clock, HANDLE stop) : m_clock(clock), m_stop(stop) {}
    uint64_t NowMs() override { return m_clock->NowMs(); }
    bool Wait(uint32_t ms) override { return m_clock->Wait(m_stop, ms); }
    bool StopRequested() override { return WaitForSingleObject(m_stop, 0) == WAIT_OBJECT_0; }

private:
    CTSFileEngine::CClock* m_clock;
    HANDLE m_stop;
};

CTSFileEngine::CTSFileEngine(CTSEngineCallback* owner, const std::u16string& path, CClock* clock)
    : CTSEngine(owner, u"FILE"), m_path(path), m_clock(clock), m_reader(&m_router)
{
    if (!m_clock) {
        m_ownClock = std::make_unique<CTickPacingClock>();
        m_clock = m_ownClock.get();
    }
    m_stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

CTSFileEngine::~CTSFileEngine()
{
    // The reader must be gone before anything it uses, whatever state the engine is in.
    StopStreaming();
    CTSEngine::Stop();
    CloseFile();
    if (m_stop)
        CloseHandle(m_stop);
}

HRESULT CTSFileEngine::Start(CServiceManager::CServiceManagerCallback* listener)
{
    {
        base::CScopedLock lock(m_lock);
        if (m_file != INVALID_HANDLE_VALUE || !m_stop)
            return E_FAIL;
        m_file = CreateFileW(reinterpret_cast<const wchar_t*>(m_path.c_str()), GENERIC_READ, FILE_SHARE_READ,
                             nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (m_file == INVALID_HANDLE_VALUE)
            return E_FAIL;
    }
    const HRESULT hr = CTSEngine::Start(listener);
    // An engine that did not start keeps no file open: nothing would ever close it.
    if (hr != S_OK)
        CloseFile();
    return hr;
}

HRESULT CTSFileEngine::Stop()
{
    StopStreaming();
    const HRESULT hr = CTSEngine::Stop();
    CloseFile();
    return FAILED(hr) ? hr : S_OK;
}

void CTSFileEngine::CloseFile()
{
    base::CScopedLock lock(m_lock);
    if (m_file != INVALID_HANDLE_VALUE) {
        CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
    }
}

HRESULT CTSFileEngine::OpenDevice()
{
    m_reader.ForgetPacingPid();
    const HRESULT started = StartStreaming();
    if (FAILED(started))
        return started;
    const bool pat = m_manager.PATEvent().Wait(kPatWaitMs);
    if (pat) {
        m_manager.AllPMTEvent().Wait(kTablesWaitMs);
        m_manager.AllSDTEvent().Wait(kTablesWaitMs);
    }
    StopStreaming();
    if (!pat)
        return E_FAIL;
    m_reader.ChoosePacingPid();
    base::CScopedLock lock(m_lock);
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(m_file, start, nullptr, FILE_BEGIN))
        return E_FAIL;
    m_reader.ClearCarry();
    return S_OK;
}

HRESULT CTSFileEngine::StartStreaming()
{
    base::CScopedLock lock(m_lock);
    if (m_thread)
        return S_FALSE;
    if (m_file == INVALID_HANDLE_VALUE || !m_stop)
        return E_FAIL;
    ResetEvent(m_stop);
    m_thread = StartPacedReaderThread(&CTSFileEngine::ReaderEntry, this);
    return m_thread ? S_OK : E_FAIL;
}

HRESULT CTSFileEngine::StopStreaming()
{
    HANDLE thread;
    {
        base::CScopedLock lock(m_lock);
        thread = m_thread;
    }
    if (thread) {
        SetEvent(m_stop);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        base::CScopedLock lock(m_lock);
        m_thread = nullptr;
        ResetEvent(m_stop);
    }
    return S_OK;
}

int32_t CTSFileEngine::GetPacingPid()
{
    base::CScopedLock lock(m_lock);
    return m_thread ? -1 : m_reader.GetPacingPid();
}

unsigned __stdcall CTSFileEngine::ReaderEntry(void* self)
{
    static_cast<CTSFileEngine*>(self)->ReaderLoop();
    return 0;
}

void CTSFileEngine::ReaderLoop()
{
    HANDLE file;
    {
        base::CScopedLock lock(m_lock);
        file = m_file;
    }
    CFileSource source(file);
    CThreadClock clock(m_clock, m_stop);
    m_reader.Run(source, clock);
    // At the end of the file the thread idles until it is stopped; nothing is reported.
    WaitForSingleObject(m_stop, INFINITE);
}

} // namespace libDVB
