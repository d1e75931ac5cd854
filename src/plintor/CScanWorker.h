// The scan's worker thread, owned: a start while the previous run is still going fails and
// changes nothing; Stop sets the stop event and joins; the owner's destruction stops and joins.
// The thread is never left to free itself while someone waits on it.
#pragma once

#include <atomic>
#include <functional>
#include <thread>

#include "base/ManualResetEvent.h"
#include "base/Result.h"

namespace plintor {

class CScanWorker {
public:
    using Run = std::function<void(base::CManualResetEvent& stop)>;

    CScanWorker() = default;
    ~CScanWorker() { Stop(); }
    CScanWorker(const CScanWorker&) = delete;
    CScanWorker& operator=(const CScanWorker&) = delete;

    // E_FAIL while a run is going (nothing changes); else the stop event is reset and `run`
    // starts on a new thread. E_FAIL too when the thread cannot be created: the caller stays idle.
    HRESULT Start(Run run);
    // Sets the stop event and waits for the run to end; S_FALSE when none was started.
    HRESULT Stop();
    bool IsRunning() const { return m_running.load(); }
    base::CManualResetEvent& StopEvent() { return m_stop; }

private:
    base::CManualResetEvent m_stop;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
};

} // namespace plintor
