// The SAP/SDP announcement listener: a UDP socket on port 9875 in the four SAP groups whose
// readiness and expiry timer arrive as messages on its own hidden window, so everything runs on the
// thread that created it (the user-interface thread).
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <memory>
#include <vector>

#include "dvb/libDVB_EthernetDevice/CAnnouncementMap.h"
#include "dvb/libDVB_EthernetDevice/win/CMessageWindow.h"

namespace libDVB_EthernetDevice {

class CSAPParser : public CMessageWindow {
public:
    static constexpr UINT kSocketMessage = 2023;
    static constexpr UINT_PTR kExpiryTimer = 102;
    static constexpr u_short kSapPort = 9875;

    // The callback, when given, must outlive the listener. Another port than SAP's own serves tests
    // that must hold the port against the listener while other programs share SAP's.
    explicit CSAPParser(CSAPcallback* callback = nullptr, u_short port = kSapPort);
    ~CSAPParser() override;

    // S_OK when the socket listens; otherwise E_FAIL and GetSocketError tells the failing call's
    // error (WSA, or Win32 for the window; the listener then finds nothing).
    HRESULT GetStatus() const { return m_status; }
    int GetSocketError() const { return m_socketError; }

    std::unique_ptr<CNetworkAnnouncement> GetAnnouncement(uint16_t id) const { return m_announcements.GetAnnouncement(id); }
    HRESULT RemoveAnnouncement(uint16_t id) { return m_announcements.RemoveAnnouncement(id); }
    std::vector<uint16_t> GetAnnouncementIds() const { return m_announcements.GetAnnouncementIds(); }

    HRESULT ParseAnnouncement(const uint8_t* data, size_t length);
    LRESULT OnTimer(UINT_PTR id) override;
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool Check(int result);
    void CloseSocket();
    void Receive();

    SOCKET m_socket = INVALID_SOCKET;
    CAnnouncementMap m_announcements;
    std::vector<uint8_t> m_buffer;
    HRESULT m_status = S_OK;
    int m_socketError = 0;
    bool m_winsock = false;
    std::vector<ip_mreq> m_joined;
};

} // namespace libDVB_EthernetDevice
