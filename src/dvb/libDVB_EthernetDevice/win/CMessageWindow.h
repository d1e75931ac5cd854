// A hidden window that carries messages (socket readiness, timers) to an object on the thread that
// created it.
#pragma once

#include <windows.h>

#include "base/Result.h"

namespace libDVB_EthernetDevice {

class CMessageWindow {
public:
    CMessageWindow();
    virtual ~CMessageWindow();
    CMessageWindow(const CMessageWindow&) = delete;
    CMessageWindow& operator=(const CMessageWindow&) = delete;

    virtual LRESULT OnTimer(UINT_PTR id) { return 0; }
    // WM_TIMER goes to OnTimer, everything to the default procedure.
    virtual LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND GetWindow() const { return m_window; }

private:
    static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window;
};

} // namespace libDVB_EthernetDevice
