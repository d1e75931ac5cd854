#include "dvb/libDVB_EthernetDevice/win/HiddenWindow.h"

namespace libDVB_EthernetDevice {

HWND CreateHiddenWindow(const wchar_t* className, WNDPROC procedure, void* object)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass); // fails harmlessly when an earlier window registered it
    // Message-only: never shown, never enumerated, and no work for the desktop's process, which
    // otherwise follows every top-level window a socket thread makes and drops.
    HWND window = CreateWindowExW(0, className, className, WS_OVERLAPPED, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  windowClass.hInstance, nullptr);
    if (window) {
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
        ShowWindow(window, SW_HIDE);
    }
    return window;
}

void DestroyHiddenWindow(HWND window)
{
    if (!window)
        return;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
}

} // namespace libDVB_EthernetDevice
