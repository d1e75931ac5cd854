// The re-entrant lock with a scoped guard that shared objects of the neutral libraries use.
// Table callbacks register streams while the router's stream lock is held, so it must be recursive.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

namespace base {

class CCriticalSection {
public:
    CCriticalSection() = default;
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    void Lock()
    {
        m_mutex.lock();
        if (m_depth++ == 0) {
            m_owner.store(std::this_thread::get_id(), std::memory_order_relaxed);
            m_entries.fetch_add(1, std::memory_order_relaxed);
        }
    }
    void Unlock()
    {
        if (--m_depth == 0)
            m_owner.store(std::thread::id(), std::memory_order_relaxed);
        m_mutex.unlock();
    }
    // For assertions of lock order: whether the calling thread holds this lock.
    bool IsHeldByCurrentThread() const
    {
        return m_owner.load(std::memory_order_relaxed) == std::this_thread::get_id();
    }

    // How many times a thread has entered the lock from outside (nested entries do not count): a
    // watcher that last held it when the count was n knows that nobody else held it since while the
    // count is still n, without taking it.
    uint64_t Entries() const { return m_entries.load(std::memory_order_relaxed); }

private:
    std::recursive_mutex m_mutex;
    std::atomic<uint64_t> m_entries{0};
    std::atomic<std::thread::id> m_owner{};
    unsigned m_depth = 0; // changed only by the owner
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
