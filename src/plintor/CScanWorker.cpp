#include "plintor/CScanWorker.h"

#include <system_error>

namespace plintor {

HRESULT CScanWorker::Start(Run run)
{
    if (m_running.load() || !run)
        return E_FAIL;
    if (m_thread.joinable())
        m_thread.join(); // the previous run has ended: free its thread before the next
    m_stop.Reset();
    m_running.store(true);
    try {
        m_thread = std::thread([this, run = std::move(run)] {
            run(m_stop);
            m_running.store(false);
        });
    } catch (const std::system_error&) {
        m_running.store(false);
        return E_FAIL;
    }
    return S_OK;
}

HRESULT CScanWorker::Stop()
{
    if (!m_thread.joinable())
        return S_FALSE;
    m_stop.Set();
    m_thread.join();
    return S_OK;
}

} // namespace plintor
