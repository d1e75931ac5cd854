// A manual-reset signal: stays set until reset; waiters can test it without waiting.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace base {

class CManualResetEvent {
public:
    void Set()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_set = true;
        m_changed.notify_all();
    }
    void Reset()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_set = false;
    }
    bool IsSet() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_set;
    }
    // True when the signal was set within `milliseconds`.
    bool Wait(unsigned milliseconds) const
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return m_set; });
    }

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    bool m_set = false;
};

} // namespace base
