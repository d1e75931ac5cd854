// The re-entrant lock with a scoped guard that shared objects of the neutral libraries use.
// Table callbacks register streams while the router's stream lock is held, so it must be recursive.
#pragma once

#include <mutex>

namespace base {

class CCriticalSection {
public:
    CCriticalSection() = default;
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    void Lock() { m_mutex.lock(); }
    void Unlock() { m_mutex.unlock(); }

private:
    std::recursive_mutex m_mutex;
};

class CScopedLock {
public:
    explicit CScopedLock(CCriticalSection& section) : m_section(section) { m_section.Lock(); }
    ~CScopedLock() { m_section.Unlock(); }
    CScopedLock(const CScopedLock&) = delete;
    CScopedLock& operator=(const CScopedLock&) = delete;

private:
    CCriticalSection& m_section;
};

} // namespace base
