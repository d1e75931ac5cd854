// The application object: one per program, constructed statically. wWinMain runs its
// InitInstance, then its message loop, then its ExitInstance.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "framework/CString.h"
#include "framework/win/CCmdTarget.h"

class CCommandLineInfo;
class CSingleDocTemplate;
class CWnd;

class CWinApp : public CCmdTarget {
public:
    // name: the application's name; null takes the string 57344 of the resources, or
    // else the program file's name without its extension.
    explicit CWinApp(LPCWSTR name = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    LPWSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;

    virtual BOOL InitInstance() { return TRUE; }
    // Gets and dispatches messages until WM_QUIT, giving each first to PreTranslateMessage;
    // returns ExitInstance's result.
    virtual int Run();
    // The exit code: the WM_QUIT code that ended the loop.
    virtual int ExitInstance();
    // Offers msg to the windows from its target up to the main window (their accelerators).
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Profile values then live under HKCU "Software\<key>\<application name>\<section>"; the
    // empty section is that key itself. Without a registry key nothing is read or written.
    void SetRegistryKey(LPCWSTR key);
    // The value as a REG_DWORD; the default when it is missing or of another type.
    UINT GetProfileInt(LPCWSTR section, LPCWSTR entry, int defaultValue);
    BOOL WriteProfileInt(LPCWSTR section, LPCWSTR entry, int value);
    // The value as a REG_SZ; the default when it is missing or of another type.
    CString GetProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR defaultValue = nullptr);

    // The application owns its document templates; the first one makes new documents.
    void AddDocTemplate(CSingleDocTemplate* docTemplate);
    // Splits m_lpCmdLine like the platform's command-line rules and hands each argument over.
    void ParseCommandLine(CCommandLineInfo& info);
    // Runs what the command line asked: a new document (opening a file also makes a new one:
    // the documents of these programs hold no data). TRUE when a main window resulted.
    BOOL ProcessShellCommand(CCommandLineInfo& info);
    // Accepted for the callers' sake: the programs keep no list of recent files.
    void LoadStdProfileSettings(UINT recentFiles = 4) {}

    const CString& GetAppName();
    const CString& GetRegistryKey() const { return m_registryKey; }
    const CString& GetProfileName() const { return m_profileName; }

protected:
    MSG m_msgCur = {};

private:
    // The key of section under the profile key: opened for reading, created for writing;
    // null when there is none.
    HKEY OpenSectionKey(LPCWSTR section, bool create);
    void OnIdle();

    std::vector<std::unique_ptr<CSingleDocTemplate>> m_templates;
    CString m_appName;
    CString m_registryKey;
    CString m_profileName;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

// What wWinMain does; programs get it through the framework's wWinMain.
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);
