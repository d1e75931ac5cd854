#include "dvb/libDVB_EthernetDevice/win/CNetworkDeviceThread.h"

#include <ws2tcpip.h>

#include "dvb/libDVB_EthernetDevice/win/CMulticastDevice.h"
#include "dvb/libDVB_EthernetDevice/win/HiddenWindow.h"

namespace libDVB_EthernetDevice {

namespace {
const wchar_t kClassName[] = L"NetworkEventWindow";
constexpr int kReceiveSize = 65536;
constexpr int kReceiveBuffer = 0x200000;
// Datagrams read per readiness message before the stop request is looked at again; FD_READ is
// posted again while more are queued, so nothing is lost by pausing.
constexpr int kDrainBatch = 64;
} // namespace

CNetworkDeviceThread::CNetworkDeviceThread(const std::string& address, uint16_t port, CMulticastDevice* device)
    : m_address(address), m_port(port), m_device(device), m_buffer(kReceiveSize)
{
}

CNetworkDeviceThread::~CNetworkDeviceThread()
{
    Stop();
    if (m_ready)
        CloseHandle(m_ready);
    if (m_stop)
        CloseHandle(m_stop);
}

HRESULT CNetworkDeviceThread::Start()
{
    if (m_thread)
        return S_FALSE;
    m_ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!m_ready || !m_stop)
        return E_FAIL;
    m_thread = CreateThread(nullptr, 0, &CNetworkDeviceThread::ThreadProc, this, 0, nullptr);
    if (!m_thread)
        return E_FAIL;
    // Set-up touches only local resources and always signals, successful or not.
    const HANDLE waits[] = {m_ready, m_thread};
    const DWORD woken = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    if (woken == WAIT_OBJECT_0 && m_setUp)
        return S_OK;
    Stop();
    return E_FAIL;
}

void CNetworkDeviceThread::Stop()
{
    if (!m_thread)
        return;
    // An event, not a posted WM_QUIT: it reaches the thread whether or not it has a queue yet.
    SetEvent(m_stop);
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    m_thread = nullptr;
}

DWORD WINAPI CNetworkDeviceThread::ThreadProc(void* self)
{
    auto* thread = static_cast<CNetworkDeviceThread*>(self);
    if (thread->InitInstance()) {
        thread->m_setUp = true;
        SetEvent(thread->m_ready);
        thread->Run();
    }
    thread->ExitInstance();
    SetEvent(thread->m_ready);
    return 0;
}

bool CNetworkDeviceThread::Check(int result)
{
    if (result != SOCKET_ERROR)
        return true;
    if (!m_socketError)
        m_socketError = WSAGetLastError();
    return false;
}

bool CNetworkDeviceThread::InitInstance()
{
    m_window = CreateHiddenWindow(kClassName, &CNetworkDeviceThread::StaticWindowProc, this);
    if (!m_window)
        return false;

    WSADATA data;
    m_winsock = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    if (!m_winsock)
        return false;
    const unsigned long group = inet_addr(m_address.c_str());
    if (group == INADDR_NONE || !IN_MULTICAST(ntohl(group))) {
        m_socketError = WSAEINVAL;
        return false;
    }
    m_socket = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (m_socket == INVALID_SOCKET)
        return Check(SOCKET_ERROR);
    // SO_REUSEADDR before bind, so that a second receiver of the group can bind the port too.
    const BOOL reuse = TRUE;
    const int bufferSize = kReceiveBuffer;
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(m_port);
    ip_mreq membership = {};
    membership.imr_multiaddr.s_addr = group;
    membership.imr_interface.s_addr = htonl(INADDR_ANY);
    if (!Check(setsockopt(m_socket, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof reuse)) ||
        !Check(bind(m_socket, reinterpret_cast<const sockaddr*>(&local), sizeof local)))
        return false;
    m_joined = Check(setsockopt(m_socket, IPPROTO_IP, IP_ADD_MEMBERSHIP, reinterpret_cast<const char*>(&membership),
                                sizeof membership));
    return m_joined &&
           Check(setsockopt(m_socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bufferSize), sizeof bufferSize)) &&
           Check(WSAAsyncSelect(m_socket, m_window, kSocketMessage, FD_READ));
}

void CNetworkDeviceThread::Run()
{
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjectsEx(1, &m_stop, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken != WAIT_OBJECT_0 + 1)
            return; // the stop event, or a failed wait
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

void CNetworkDeviceThread::ExitInstance()
{
    if (m_socket != INVALID_SOCKET) {
        if (m_joined) {
            ip_mreq membership = {};
            membership.imr_multiaddr.s_addr = inet_addr(m_address.c_str());
            membership.imr_interface.s_addr = htonl(INADDR_ANY);
            setsockopt(m_socket, IPPROTO_IP, IP_DROP_MEMBERSHIP, reinterpret_cast<const char*>(&membership),
                       sizeof membership);
        }
        closesocket(m_socket);
        m_socket = INVALID_SOCKET;
    }
    DestroyHiddenWindow(m_window);
    m_window = nullptr;
    if (m_winsock)
        WSACleanup();
}

void CNetworkDeviceThread::Drain()
{
    for (int i = 0; i < kDrainBatch; ++i) {
        const int received = recv(m_socket, reinterpret_cast<char*>(m_buffer.data()), kReceiveSize, 0);
        if (received < 1)
            return;
        m_device->OnDatagram(m_buffer.data(), static_cast<size_t>(received));
    }
}

LRESULT CALLBACK CNetworkDeviceThread::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CNetworkDeviceThread*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || message != kSocketMessage)
        return DefWindowProcW(window, message, wParam, lParam);
    if (WSAGETSELECTEVENT(lParam) == FD_READ)
        self->Drain();
    return 0;
}

} // namespace libDVB_EthernetDevice
