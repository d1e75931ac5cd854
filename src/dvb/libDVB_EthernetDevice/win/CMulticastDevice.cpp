#include "dvb/libDVB_EthernetDevice/win/CMulticastDevice.h"

#include "dvb/libDVB_EthernetDevice/TransportDatagram.h"
#include "dvb/libDVB_EthernetDevice/win/CNetworkDeviceThread.h"

namespace libDVB_EthernetDevice {

namespace {
constexpr unsigned kPatWaitMs = 500;
constexpr unsigned kTableWaitMs = 2000;
} // namespace

CMulticastDevice::CMulticastDevice(const std::u16string& address, uint16_t port, CTSEngineCallback* owner)
    : CTSEngine(owner, u"MULTICAST"), m_address(address), m_port(port)
{
}

CMulticastDevice::~CMulticastDevice()
{
    CTSEngine::Stop();
    StopStreaming();
}

HRESULT CMulticastDevice::OpenDevice()
{
    if (FAILED(StartStreaming()))
        return E_FAIL;
    auto& manager = GetServiceManager();
    const bool pat = manager.PATEvent().Wait(kPatWaitMs);
    if (pat) {
        manager.AllPMTEvent().Wait(kTableWaitMs);
        manager.AllSDTEvent().Wait(kTableWaitMs);
    }
    StopStreaming();
    return pat ? S_OK : E_FAIL;
}

HRESULT CMulticastDevice::StartStreaming()
{
    if (m_thread)
        return S_FALSE;
    // The address is dotted IPv4: anything outside ASCII makes it invalid.
    std::string address;
    for (char16_t c : m_address)
        address.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    auto thread = std::make_unique<CNetworkDeviceThread>(address, m_port, this);
    if (FAILED(thread->Start())) {
        m_socketError = thread->GetSocketError();
        return E_FAIL;
    }
    m_thread = std::move(thread);
    return S_OK;
}

HRESULT CMulticastDevice::StopStreaming()
{
    if (!m_thread)
        return S_FALSE;
    m_thread->Stop();
    m_thread.reset();
    return S_OK;
}

void CMulticastDevice::OnDatagram(const uint8_t* data, size_t length) { DeliverDatagram(GetRouter(), data, length); }

} // namespace libDVB_EthernetDevice
