// The hidden window that owns the viewer's notification-area icon while tray mode is on. The icon
// is added again whenever the shell announces that its taskbar was (re)created; a click on it runs
// what its owner gave it (the main frame's return from the tray).
#pragma once

#include <functional>
#include <utility>

#include "framework/win/Afx.h"

extern UINT g_msgTaskbarCreated; // "TaskbarCreated", broadcast by the shell after it starts
extern UINT g_msgTrayNotify;     // the icon's callback message

constexpr UINT kTrayIconId = 128;

class CSystrayWindow : public CWnd {
public:
    explicit CSystrayWindow(std::function<void()> onClick) : m_onClick(std::move(onClick)) {}

    // The window "QORTrayWnd" of a plain class; its creation adds the icon.
    BOOL Create();

    // The icon's description: Windows 2000 layout (NOTIFYICONDATAW_V2_SIZE), the tip cut to fit.
    static NOTIFYICONDATAW IconData(HWND window, HICON icon, const wchar_t* tip);

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    void OnClose();
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    std::function<void()> m_onClick;
};
