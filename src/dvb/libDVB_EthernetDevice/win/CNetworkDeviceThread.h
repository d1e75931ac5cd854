// The socket thread of a streaming multicast device: a UDP socket in the group whose readiness
// arrives as messages on the thread's own hidden window; every datagram goes to the device.
#pragma once

#include <winsock2.h>

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

#include "base/Result.h"

namespace libDVB_EthernetDevice {

class CMulticastDevice;

class CNetworkDeviceThread {
public:
    static constexpr UINT kSocketMessage = 2023;

    CNetworkDeviceThread(const std::string& address, uint16_t port, CMulticastDevice* device);
    ~CNetworkDeviceThread();
    CNetworkDeviceThread(const CNetworkDeviceThread&) = delete;
    CNetworkDeviceThread& operator=(const CNetworkDeviceThread&) = delete;

    // Starts the thread and waits until its socket is set up: S_OK, or E_FAIL when a socket call
    // failed (the thread has then ended; GetSocketError tells the WSA error).
    HRESULT Start();
    // Ends the thread and waits for it; safe at any time after Start.
    void Stop();
    int GetSocketError() const { return m_socketError; }

private:
    static DWORD WINAPI ThreadProc(void* self);
    static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool InitInstance();
    void Run();
    void ExitInstance();
    bool Check(int result);
    void Drain();

    HWND m_window = nullptr;
    SOCKET m_socket = INVALID_SOCKET;
    std::string m_address;
    uint16_t m_port;
    CMulticastDevice* m_device;
    HANDLE m_thread = nullptr;
    HANDLE m_ready = nullptr;
    HANDLE m_stop = nullptr;
    bool m_winsock = false;
    bool m_joined = false;
    bool m_setUp = false;
    int m_socketError = 0;
    std::vector<uint8_t> m_buffer;
};

} // namespace libDVB_EthernetDevice
