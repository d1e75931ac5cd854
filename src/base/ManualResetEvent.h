// A manual-reset signal: stays set until reset; waiters can test it without waiting.
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace base {

class CManualResetEvent {
public:
    // Someone waiting on more than one event (WaitEither): told whenever one of them is set.
    struct Listener {
        std::mutex mutex;
        std::condition_variable changed;
        bool signalled = false;
        void Notify()
        {
            std::lock_guard<std::mutex> lock(mutex);
            signalled = true;
            changed.notify_all();
        }
    };

    void Set()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_set = true;
        m_changed.notify_all();
        for (Listener* listener : m_listeners)
            listener->Notify();
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

    void AddListener(Listener* listener)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_listeners.push_back(listener);
    }
    void RemoveListener(Listener* listener)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), listener), m_listeners.end());
    }

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    bool m_set = false;
    std::vector<Listener*> m_listeners;
};

// Waits until `event` or `stop` is set, at most `milliseconds`: 0 when `event` is set, 1 when
// only `stop` is, -1 on time-out. A stop ends a long wait at once.
inline int WaitEither(CManualResetEvent& event, CManualResetEvent& stop, unsigned milliseconds)
{
    CManualResetEvent::Listener listener;
    event.AddListener(&listener);
    stop.AddListener(&listener);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    int result = -1;
    for (;;) {
        if (event.IsSet()) {
            result = 0;
            break;
        }
        if (stop.IsSet()) {
            result = 1;
            break;
        }
        bool woken;
        {
            // Set takes an event's lock, then the listener's: never the other way round.
            std::unique_lock<std::mutex> lock(listener.mutex);
            woken = listener.changed.wait_until(lock, deadline, [&] { return listener.signalled; });
            listener.signalled = false;
        }
        if (!woken) {
            result = event.IsSet() ? 0 : (stop.IsSet() ? 1 : -1);
            break;
        }
    }
    event.RemoveListener(&listener);
    stop.RemoveListener(&listener);
    return result;
}

} // namespace base
