// The viewer application: settles the profile key, the language and the program folder, and
// either becomes the running viewer or hands its command line to the one that runs.
#pragma once

#include "framework/win/Afx.h"

class CqorApp : public CWinApp {
public:
    CqorApp() = default;
    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    bool m_comInitialised = false;
};

// Every argument after the program name, each with its NUL, in one block from new[] (null and a
// count of 0 when there are none); the caller deletes it.
void PackCommandLine(BYTE*& block, DWORD& byteCount);
// The folder of the running program, without a trailing backslash, however long its path.
CString ModuleFolder(HMODULE module);
// Off the user's desktop "Default" of the interactive window station "WinSta0": starts this
// program again there with the same command line and returns true; false when already there or
// when it cannot be started.
bool RestartOnInteractiveDesktop();
// The running viewer's frame: a window of the frame's class with the title. While a viewer runs
// (its mutex exists) its window may not be up yet: look again for up to timeoutMs.
HWND FindRunningViewer(const CString& title, DWORD timeoutMs);
