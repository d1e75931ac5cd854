#include "dvb/libDVB_EthernetDevice/win/CMessageWindow.h"

#include "dvb/libDVB_EthernetDevice/win/HiddenWindow.h"

namespace libDVB_EthernetDevice {

CMessageWindow::CMessageWindow() : m_window(CreateHiddenWindow(L"EventWindow", &CMessageWindow::StaticWindowProc, this))
{
}

CMessageWindow::~CMessageWindow() { DestroyHiddenWindow(m_window); }

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
