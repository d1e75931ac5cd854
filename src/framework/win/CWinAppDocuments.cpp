// The single-document start-up of a program: its template, its command line and the new
// document that makes the main window.
#include <windows.h>
#include <shellapi.h>

#include "framework/win/CCommandLineInfo.h"
#include "framework/win/CSingleDocTemplate.h"
#include "framework/win/CWinApp.h"
#include "framework/win/CWnd.h"

void CWinApp::AddDocTemplate(CSingleDocTemplate* docTemplate)
{
    if (docTemplate)
        m_templates.emplace_back(docTemplate);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    if (!m_lpCmdLine || !*m_lpCmdLine)
        return;
    // The command line given to wWinMain holds the arguments only; a placeholder program name
    // in front lets the platform's splitter apply its rules for later arguments.
    CString line(L"x ");
    line += m_lpCmdLine;
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(line, &count);
    if (!arguments)
        return;
    for (int i = 1; i < count; ++i) {
        LPCWSTR argument = arguments[i];
        BOOL flag = argument[0] == L'/' || argument[0] == L'-';
        info.ParseParam(flag ? argument + 1 : argument, flag, i + 1 == count);
    }
    ::LocalFree(arguments);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info)
{
    if (info.m_nShellCommand == CCommandLineInfo::FileNothing)
        return TRUE;
    if (m_templates.empty() || !m_templates.front()->OpenDocumentFile(nullptr))
        return FALSE;
    return m_pMainWnd != nullptr;
}
