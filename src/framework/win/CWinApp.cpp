#include "framework/win/CWinApp.h"

#include "framework/win/CMenu.h"
#include "framework/win/CWnd.h"

namespace {

// String 57344 of the resources names the application.
const UINT kAppTitleString = 57344;

} // namespace

int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = commandLine;
    app->m_nCmdShow = show;
    app->GetAppName();
    if (!app->InitInstance()) {
        if (app->m_pMainWnd)
            app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}

const CString& CWinApp::GetAppName()
{
    if (m_appName.IsEmpty() && !m_appName.LoadString(AfxGetResourceHandle(), kAppTitleString, 0)) {
        // The program file's name without folder and extension; module names are counted in
        // characters.
        wchar_t path[MAX_PATH] = {};
        DWORD length = ::GetModuleFileNameW(AfxGetInstanceHandle(), path, MAX_PATH);
        CString name(path, static_cast<int>(length < MAX_PATH ? length : MAX_PATH - 1));
        name = name.Mid(name.ReverseFind(L'\\') + 1);
        int dot = name.ReverseFind(L'.');
        m_appName = dot > 0 ? name.Left(dot) : name;
    }
    return m_appName;
}

int CWinApp::Run()
{
    for (;;) {
        MSG peeked;
        if (!::PeekMessageW(&peeked, nullptr, 0, 0, PM_NOREMOVE))
            OnIdle();
        BOOL got = ::GetMessageW(&m_msgCur, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        if (!PreTranslateMessage(&m_msgCur)) {
            ::TranslateMessage(&m_msgCur);
            ::DispatchMessageW(&m_msgCur);
        }
    }
    return ExitInstance();
}

int CWinApp::ExitInstance()
{
    OnIdle();
    return m_msgCur.message == WM_QUIT ? static_cast<int>(m_msgCur.wParam) : 0;
}

void CWinApp::OnIdle()
{
    CWnd::DeleteTempMap();
    CMenu::DeleteTempMap();
}

BOOL CWinApp::PreTranslateMessage(MSG* msg)
{
    HWND mainWindow = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    bool mainVisited = false;
    for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(hwnd)) {
            if (wnd->PreTranslateMessage(msg))
                return TRUE;
        }
        if (hwnd == mainWindow) {
            mainVisited = true;
            break;
        }
    }
    // Keys typed into the program's other windows still reach the main frame's accelerators.
    if (!mainVisited && msg->hwnd && m_pMainWnd && mainWindow)
        return m_pMainWnd->PreTranslateMessage(msg);
    return FALSE;
}
