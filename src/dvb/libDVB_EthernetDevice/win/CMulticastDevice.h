// The transport-stream engine of one multicast group and port: MPEG transport stream in UDP
// datagrams, bare or behind an RTP header (payload type 33), received on a socket thread of its own.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "dvb/libDVB/engine/CTSEngine.h"

namespace libDVB_EthernetDevice {

class CNetworkDeviceThread;

class CMulticastDevice : public libDVB::CTSEngine {
public:
    // `address`: the group, dotted IPv4.
    CMulticastDevice(const std::u16string& address, uint16_t port, CTSEngineCallback* owner);
    ~CMulticastDevice() override;

    // Streams long enough to read the PAT (500 ms), the PMTs and the SDT (2 s each), then stops.
    HRESULT OpenDevice() override;
    // S_FALSE while a socket thread runs; E_FAIL when the socket could not be set up.
    HRESULT StartStreaming() override;
    // S_FALSE without a socket thread.
    HRESULT StopStreaming() override;

    // From the socket thread: every whole packet of the datagram into the router.
    void OnDatagram(const uint8_t* data, size_t length);

    const std::u16string& GetAddress() const { return m_address; }
    uint16_t GetPort() const { return m_port; }
    // The WSA error of the last socket set-up that failed (0 when none did).
    int GetSocketError() const { return m_socketError; }

private:
    std::unique_ptr<CNetworkDeviceThread> m_thread;
    std::u16string m_address;
    uint16_t m_port;
    int m_socketError = 0;
};

} // namespace libDVB_EthernetDevice
