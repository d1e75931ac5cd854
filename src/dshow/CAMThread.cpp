#include "dshow/CAMThread.h"

#include "dshow/CAutoLock.h"

namespace dshow {

CAMThread::CAMThread() : m_requestEvent(false), m_replyEvent(false) {}

CAMThread::~CAMThread() { Close(); }

DWORD WINAPI CAMThread::InitialThreadProc(void* self)
{
    // Filters call COM from their worker threads (allocators, downstream pins), so give each a
    // multithreaded apartment of its own.
    HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    DWORD result = static_cast<CAMThread*>(self)->ThreadProc();
    if (SUCCEEDED(hr))
        CoUninitialize();
    return result;
}

bool CAMThread::Create()
{
    CAutoLock lock(&m_threadLock);
    if (m_thread)
        return false;
    m_thread = CreateThread(nullptr, 0, InitialThreadProc, this, 0, nullptr);
    return m_thread != nullptr;
}

DWORD CAMThread::CallWorker(DWORD request)
{
    CAutoLock lock(&m_callLock);
    if (!ThreadExists())
        return static_cast<DWORD>(E_FAIL);
    m_request = request;
    m_requestEvent.Set();
    // A worker that ends without replying must not leave the caller waiting for ever.
    HANDLE handles[2] = {m_replyEvent.Handle(), m_thread};
    DWORD wait = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
    if (wait != WAIT_OBJECT_0)
        return static_cast<DWORD>(E_FAIL);
    return m_reply;
}

void CAMThread::Close()
{
    CAutoLock lock(&m_threadLock);
    if (m_thread) {
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
}

DWORD CAMThread::GetRequest()
{
    m_requestEvent.Wait(INFINITE);
    return m_request;
}

bool CAMThread::CheckRequest(DWORD* request)
{
    if (!m_requestEvent.Check())
        return false;
    if (request)
        *request = m_request;
    return true;
}

void CAMThread::Reply(DWORD result)
{
    m_reply = result;
    m_replyEvent.Set();
}

} // namespace dshow
