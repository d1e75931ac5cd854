// A worker thread with a one-slot command channel: the owner sends a request and waits for the
// worker's reply; the worker polls or waits for requests between units of work.
#pragma once

#include <windows.h>

#include "dshow/CAMEvent.h"
#include "dshow/CCritSec.h"

namespace dshow {

class CAMThread {
public:
    CAMThread();
    virtual ~CAMThread();
    CAMThread(const CAMThread&) = delete;
    CAMThread& operator=(const CAMThread&) = delete;

    // Starts the worker; false when it already runs or cannot be created.
    virtual bool Create();
    // Sends a request and waits for its reply (owner side). Only one request is in flight at a time.
    DWORD CallWorker(DWORD request);
    // Waits for the worker to end and releases its handle.
    void Close();
    bool ThreadExists() const { return m_thread != nullptr; }

    // Worker side: wait for the next request, look for one without waiting, answer it.
    DWORD GetRequest();
    bool CheckRequest(DWORD* request);
    void Reply(DWORD result);
    HANDLE GetRequestHandle() const { return m_requestEvent.Handle(); }
    DWORD GetRequestParam() const { return m_request; }

protected:
    virtual DWORD ThreadProc() = 0;

private:
    static DWORD WINAPI InitialThreadProc(void* self);

    HANDLE m_thread = nullptr;
    CAMEvent m_requestEvent;
    CAMEvent m_replyEvent;
    DWORD m_request = 0;
    DWORD m_reply = 0;
    CCritSec m_callLock;   // one caller at a time
    CCritSec m_threadLock; // Create and Close
};

} // namespace dshow
