#include "plintor/win/CplintorApp.h"

#include <commctrl.h>
#include <ole2.h>

#include "base/TraceFile.h"
#include "framework/win/CCommandLineInfo.h"
#include "framework/win/CSingleDocTemplate.h"
#include "framework/win/CWnd.h"
#include "plintor/win/CConfigView.h"
#include "plintor/win/CMainFrame.h"
#include "plintor/win/CplintorDoc.h"
#include "plintor/win/LoadUiString.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CplintorDoc, CDocument)

namespace {
// Why input was refused (the scan's sections, the channel file), when the environment asks for it.
base::CTraceFile g_refusalTrace;
} // namespace

BOOL CplintorApp::InitInstance()
{
    base::StartTraceFromEnvironment(g_refusalTrace);
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
    ::InitCommonControlsEx(&controls);
    if (FAILED(::OleInitialize(nullptr))) {
        ::MessageBoxW(nullptr, LoadUiString(IDS_OLE_FAILED), LoadUiString(IDS_ERROR_CAPTION), MB_OK | MB_ICONERROR);
        return FALSE;
    }
    m_oleInitialised = true;
    SetRegistryKey(L"Harvo\\Tolvik");
    LoadStdProfileSettings(4);
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CplintorDoc), RUNTIME_CLASS(CMainFrame),
                                          RUNTIME_CLASS(CConfigView)));
    CCommandLineInfo info;
    ParseCommandLine(info);
    if (!ProcessShellCommand(info))
        return FALSE;
    m_pMainWnd->SetWindowText(LoadUiString(IDS_WINDOW_TITLE));
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

int CplintorApp::ExitInstance()
{
    int code = CWinApp::ExitInstance();
    if (m_oleInitialised)
        ::OleUninitialize();
    g_refusalTrace.Stop();
    return code;
}
