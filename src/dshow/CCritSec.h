// A re-entrant Win32 critical section: the filter lock and the streaming locks of our filters.
#pragma once

#include <windows.h>

namespace dshow {

class CCritSec {
public:
    CCritSec() { InitializeCriticalSection(&m_section); }
    ~CCritSec() { DeleteCriticalSection(&m_section); }
    CCritSec(const CCritSec&) = delete;
    CCritSec& operator=(const CCritSec&) = delete;

    void Lock() { EnterCriticalSection(&m_section); }
    void Unlock() { LeaveCriticalSection(&m_section); }
    CRITICAL_SECTION* Native() { return &m_section; }

private:
    CRITICAL_SECTION m_section;
};

} // namespace dshow
