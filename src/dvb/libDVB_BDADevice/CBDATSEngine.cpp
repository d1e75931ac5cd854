#include "dvb/libDVB_BDADevice/CBDATSEngine.h"

namespace libDVB_BDADevice {

CBDATSEngine::CBDATSEngine(libBDA::CBDADeviceEntry* entry, CTSEngineCallback* callback)
    : CTSEngine(callback, u"BDA"), m_entry(entry)
{
}

CBDATSEngine::~CBDATSEngine()
{
    if (CTSEngine::Stop() == S_OK && m_entry)
        m_entry->CloseGraph();
}

HRESULT CBDATSEngine::OnDumpData(const uint8_t* data, int32_t length)
{
    if (!data || length <= 0)
        return S_FALSE;
    return GetRouter().InputBytes(data, static_cast<uint32_t>(length));
}

HRESULT CBDATSEngine::Tune(ILocator* locator) { return m_entry ? m_entry->Tune(locator) : E_POINTER; }

HRESULT CBDATSEngine::SetDiSEqCPort(uint32_t port, bool option)
{
    if (port == 0)
        return S_FALSE;
    return m_entry ? m_entry->SetDiSEqCPort(port, option) : E_POINTER;
}

HRESULT CBDATSEngine::Start(libDVB::CServiceManager::CServiceManagerCallback* listener)
{
    if (!m_entry)
        return E_POINTER;
    const HRESULT opened = m_entry->OpenGraph(this);
    if (opened != S_OK)
        return opened;
    const HRESULT started = CTSEngine::Start(listener);
    // A tuner whose engine did not start must not stay open for the rest of the process.
    if (started != S_OK)
        m_entry->CloseGraph();
    return started;
}

HRESULT CBDATSEngine::Stop()
{
    const HRESULT stopped = CTSEngine::Stop();
    if (stopped != S_OK)
        return stopped;
    return m_entry ? m_entry->CloseGraph() : S_OK;
}

HRESULT CBDATSEngine::StartStreaming()
{
    if (!m_entry)
        return E_POINTER;
    // A graph that starts after a stop or a retune brings new bytes: the tail carried from the
    // earlier ones belongs to another input. A running graph keeps its carry.
    if (m_entry->GetRunState() == libBDA::CBDADeviceEntry::kStopped)
        GetRouter().StartInput();
    return m_entry->Run();
}

HRESULT CBDATSEngine::StopStreaming()
{
    if (!m_entry)
        return E_POINTER;
    const HRESULT stopped = m_entry->Stop();
    // The graph's thread has stopped: the last whole packet has no successor to confirm it.
    if (m_entry->GetRunState() == libBDA::CBDADeviceEntry::kStopped)
        GetRouter().EndInput();
    return stopped;
}

} // namespace libDVB_BDADevice
