// A Win32 event object owned by its wrapper.
#pragma once

#include <windows.h>

namespace dshow {

class CAMEvent {
public:
    explicit CAMEvent(bool manualReset = false) { m_event = CreateEventW(nullptr, manualReset, FALSE, nullptr); }
    ~CAMEvent()
    {
        if (m_event)
            CloseHandle(m_event);
    }
    CAMEvent(const CAMEvent&) = delete;
    CAMEvent& operator=(const CAMEvent&) = delete;

    void Set() { SetEvent(m_event); }
    void Reset() { ResetEvent(m_event); }
    bool Wait(DWORD milliseconds = INFINITE) { return WaitForSingleObject(m_event, milliseconds) == WAIT_OBJECT_0; }
    bool Check() { return Wait(0); }
    HANDLE Handle() const { return m_event; }
    bool IsValid() const { return m_event != nullptr; }

private:
    HANDLE m_event;
};

} // namespace dshow
