#include "dvb/libDVB_EthernetDevice/win/CSAPParser.h"

#include <ws2tcpip.h>

#include "base/Clock.h"

namespace libDVB_EthernetDevice {

namespace {
// RFC 2974, 3: the global scope group and the administrative scope groups SAP uses.
const char* const kGroups[] = {"224.2.127.254", "239.195.255.255", "239.255.255.255", "224.0.0.255"};
// The largest UDP payload: a smaller buffer makes recv fail on a larger datagram.
constexpr int kReceiveSize = 65536;
// Flags, authentication length, id hash and an IPv4 origin.
constexpr int kShortestMessage = 8;
} // namespace

bool CSAPParser::Check(int result)
{
    if (result != SOCKET_ERROR)
        return true;
    if (SUCCEEDED(m_status)) {
        m_status = E_FAIL;
        m_socketError = WSAGetLastError();
    }
    return false;
}

CSAPParser::CSAPParser(CSAPcallback* callback, u_short port) : m_announcements(callback), m_buffer(kReceiveSize)
{
    if (!GetWindow()) {
        // Still the window's error: nothing since its creation sets one.
        m_status = E_FAIL;
        m_socketError = static_cast<int>(GetLastError());
        return;
    }
    WSADATA data;
    const int started = WSAStartup(MAKEWORD(2, 2), &data);
    m_winsock = started == 0;
    if (!m_winsock) {
        m_status = E_FAIL;
        m_socketError = started;
        return;
    }
    m_socket = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (m_socket == INVALID_SOCKET) {
        Check(SOCKET_ERROR);
        return;
    }
    // Before bind: the viewer and the configurator both listen on the port.
    const BOOL reuse = TRUE;
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(port);
    bool ok = Check(setsockopt(m_socket, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof reuse)) &&
              Check(bind(m_socket, reinterpret_cast<const sockaddr*>(&local), sizeof local));
    for (const char* group : kGroups) {
        if (!ok)
            break;
        ip_mreq membership = {};
        membership.imr_multiaddr.s_addr = inet_addr(group);
        membership.imr_interface.s_addr = htonl(INADDR_ANY);
        ok = Check(setsockopt(m_socket, IPPROTO_IP, IP_ADD_MEMBERSHIP, reinterpret_cast<const char*>(&membership),
                              sizeof membership));
        if (ok)
            m_joined.push_back(membership);
    }
    ok = ok && Check(WSAAsyncSelect(m_socket, GetWindow(), kSocketMessage, FD_READ));
    if (ok && !SetTimer(GetWindow(), kExpiryTimer, 1000, nullptr)) {
        m_status = E_FAIL;
        ok = false;
    }
    if (!ok)
        CloseSocket();
}

void CSAPParser::CloseSocket()
{
    for (const ip_mreq& membership : m_joined)
        setsockopt(m_socket, IPPROTO_IP, IP_DROP_MEMBERSHIP, reinterpret_cast<const char*>(&membership), sizeof membership);
    m_joined.clear();
    if (m_socket != INVALID_SOCKET)
        closesocket(m_socket);
    m_socket = INVALID_SOCKET;
}

CSAPParser::~CSAPParser()
{
    if (GetWindow())
        KillTimer(GetWindow(), kExpiryTimer);
    CloseSocket();
    if (m_winsock)
        WSACleanup();
}

HRESULT CSAPParser::ParseAnnouncement(const uint8_t* data, size_t length)
{
    return m_announcements.ParseAnnouncement(data, length, GetTickCount());
}

void CSAPParser::Receive()
{
    // One datagram per message: FD_READ is posted again while more are queued.
    const int received = recv(m_socket, reinterpret_cast<char*>(m_buffer.data()), kReceiveSize, 0);
    if (received >= kShortestMessage)
        ParseAnnouncement(m_buffer.data(), static_cast<size_t>(received));
}

LRESULT CSAPParser::OnTimer(UINT_PTR id)
{
    if (id != kExpiryTimer)
        return 0;
    m_announcements.Expire(GetTickCount(), base::UtcNow());
    return 0;
}

LRESULT CSAPParser::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kSocketMessage && WSAGETSELECTEVENT(lParam) == FD_READ && m_socket != INVALID_SOCKET) {
        Receive();
        return 0;
    }
    return CMessageWindow::WindowProc(window, message, wParam, lParam);
}

} // namespace libDVB_EthernetDevice
