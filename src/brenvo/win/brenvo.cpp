#include "brenvo/win/brenvo.h"

#include <windows.h>
#include <commctrl.h>

#include "brenvo/win/CbrenvoDoc.h"
#include "brenvo/win/CbrenvoView.h"
#include "brenvo/win/MainFrm.h"
#include "framework/CStringA.h"
#include "framework/win/AfxSocketInit.h"
#include "framework/win/CCommandLineInfo.h"
#include "framework/win/CSingleDocTemplate.h"
#include "framework/win/CWnd.h"
#include "resource.h"

const char* const kViewerMutexName = "Harvo QOR Mutex {196AA390-851E-4e3b-B3CA-16C58E83CE82}";

CbrenvoApp theApp;

CbrenvoApp::CbrenvoApp() = default;

BOOL CbrenvoApp::InitInstance()
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    CWinApp::InitInstance();

    if (!AfxSocketInit()) {
        char text[256] = {};
        ::LoadStringA(AfxGetResourceHandle(), IDS_SOCKETS_INIT_FAILED, text, sizeof(text));
        ::MessageBoxA(nullptr, text, "brenvo", MB_OK | MB_ICONERROR);
        return FALSE;
    }

    // An installation replaces the viewer's files: never while it runs.
    HANDLE mutex = ::CreateMutexA(nullptr, TRUE, kViewerMutexName);
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        CStringA text;
        text.Format("Please close %s before running update.\nUpdate will now exit", "Tolvik");
        ::MessageBoxA(nullptr, text, "Error", MB_OK | MB_ICONERROR);
        return FALSE; // the handle goes with the process
    }
    if (mutex)
        ::CloseHandle(mutex);

    SetRegistryKey(L"Harvo");
    LoadStdProfileSettings(4);

    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CbrenvoDoc), RUNTIME_CLASS(CMainFrame),
                                          RUNTIME_CLASS(CbrenvoView)));
    CCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    if (!ProcessShellCommand(commandLine))
        return FALSE;

    ::SetWindowTextA(m_pMainWnd->m_hWnd, "Brenvo");
    m_pMainWnd->CenterWindow();
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}
