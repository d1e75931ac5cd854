#include "dvb/libDVB_EthernetDevice/win/CMessageWindow.h"

namespace libDVB_EthernetDevice {

namespace {
const wchar_t kClassName[] = L"EventWindow";
}

CMessageWindow::CMessageWindow()
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = &CMessageWindow::StaticWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass); // fails harmlessly when a first window registered it
    m_window = CreateWindowExW(0, kClassName, L"EventWindow", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                               windowClass.hInstance, nullptr);
    if (m_window) {
        SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ShowWindow(m_window, SW_HIDE);
    }
}

CMessageWindow::~CMessageWindow()
{
    if (!m_window)
        return;
    // Messages sent while the window is destroyed must not reach a half-destroyed object.
    SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
    DestroyWindow(m_window);
    m_window = nullptr;
}

LRESULT CMessageWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER)
        return OnTimer(wParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK CMessageWindow::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CMessageWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->WindowProc(window, message, wParam, lParam);
}

} // namespace libDVB_EthernetDevice
