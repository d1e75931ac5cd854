#include "viewer/CSystrayWindow.h"

#include <shellapi.h>

#include <iterator>

UINT g_msgTaskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
UINT g_msgTrayNotify = ::RegisterWindowMessageW(L"WM_NOTIFYICON_QOR");

BEGIN_MESSAGE_MAP(CSystrayWindow, CWnd)
    ON_WM_CREATE()
    ON_REGISTERED_MESSAGE(g_msgTaskbarCreated, OnTaskbarCreated)
    ON_REGISTERED_MESSAGE(g_msgTrayNotify, OnTrayNotify)
    ON_WM_CLOSE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

BOOL CSystrayWindow::Create()
{
    return CreateEx(0, AfxRegisterWndClass(0), L"QORTrayWnd", 0, 0, 0, 0, 0, nullptr, nullptr);
}

NOTIFYICONDATAW CSystrayWindow::IconData(HWND window, HICON icon, const wchar_t* tip)
{
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = window;
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = g_msgTrayNotify;
    data.hIcon = icon;
    if (tip)
        lstrcpynW(data.szTip, tip, static_cast<int>(std::size(data.szTip))); // keeps the final NUL
    return data;
}

int CSystrayWindow::OnCreate(LPCREATESTRUCTW cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    PostMessage(g_msgTaskbarCreated);
    return 0;
}

LRESULT CSystrayWindow::OnTaskbarCreated(WPARAM, LPARAM)
{
    HICON icon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(kTrayIconId));
    NOTIFYICONDATAW data = IconData(m_hWnd, icon, L"Mervane Viewer");
    const BOOL added = ::Shell_NotifyIconW(NIM_ADD, &data);
    if (icon)
        ::DestroyIcon(icon);
    return added ? 0 : -1;
}

LRESULT CSystrayWindow::OnTrayNotify(WPARAM wParam, LPARAM lParam)
{
    if (wParam != kTrayIconId)
        return -1;
    if (lParam == WM_LBUTTONUP && m_onClick)
        m_onClick();
    return 0;
}

void CSystrayWindow::OnClose()
{
    DestroyWindow();
}

void CSystrayWindow::OnDestroy()
{
    NOTIFYICONDATAW data = IconData(m_hWnd, nullptr, nullptr);
    data.uFlags = 0;
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    CWnd::OnDestroy();
}
