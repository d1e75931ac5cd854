#include "dvb/libBDA/CBDADeviceEntry.h"

namespace libBDA {

CBDADeviceEntry::CBDADeviceEntry(const std::wstring& deviceName, const std::wstring& friendlyName,
                                 uint32_t networkType)
    : m_deviceName(deviceName), m_friendlyName(friendlyName), m_networkType(networkType)
{
}

CBDADeviceEntry::~CBDADeviceEntry() { CloseGraph(); }

HRESULT CBDADeviceEntry::OpenGraph(CBDADumperCallback* callback)
{
    switch (m_graphState) {
    case kGraphOpening:
    case kGraphOpen:
        return S_FALSE;
    case kGraphClosing:
        return E_FAIL;
    default:
        break;
    }
    m_graphState = kGraphOpening;
    HRESULT hr = m_graph.Build(m_networkType, m_deviceName, callback);
    m_graphState = SUCCEEDED(hr) ? kGraphOpen : kGraphClosed;
    return hr;
}

HRESULT CBDADeviceEntry::CloseGraph()
{
    switch (m_graphState) {
    case kGraphClosed:
    case kGraphClosing:
        return S_FALSE;
    case kGraphOpening:
        return E_FAIL;
    default:
        break;
    }
    Stop();
    m_graphState = kGraphClosing;
    HRESULT hr = m_graph.Teardown();
    m_graphState = SUCCEEDED(hr) ? kGraphClosed : kGraphOpen;
    return hr;
}

HRESULT CBDADeviceEntry::Run()
{
    if (m_graphState != kGraphOpen)
        return E_FAIL;
    switch (m_runState) {
    case kRunning:
    case kStarting:
        return S_FALSE;
    case kStopping:
        return E_FAIL;
    default:
        break;
    }
    m_runState = kStarting;
    HRESULT hr = m_graph.Run();
    m_runState = SUCCEEDED(hr) ? kRunning : kStopped;
    return hr;
}

HRESULT CBDADeviceEntry::Stop()
{
    if (m_graphState != kGraphOpen)
        return E_FAIL;
    switch (m_runState) {
    case kStopped:
    case kStopping:
        return S_FALSE;
    case kStarting:
        return E_FAIL;
    default:
        break;
    }
    m_runState = kStopping;
    HRESULT hr = m_graph.Stop();
    m_runState = SUCCEEDED(hr) ? kStopped : kRunning;
    return hr;
}

HRESULT CBDADeviceEntry::Tune(ILocator* locator)
{
    if (m_graphState != kGraphOpen || m_runState != kStopped)
        return S_FALSE;
    return m_graph.Tune(locator);
}

HRESULT CBDADeviceEntry::SetDiSEqCPort(uint32_t port, bool option)
{
    if (m_graphState != kGraphOpen || m_runState != kStopped)
        return S_FALSE;
    return m_graph.SendDiSEqC(port, option);
}

} // namespace libBDA
