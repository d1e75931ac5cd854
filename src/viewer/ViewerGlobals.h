// Process-wide values of the viewer, filled at start-up and read everywhere.
#pragma once

#include <windows.h>

#include "framework/CString.h"

class CMainFrame;

extern CString g_appFolder;     // folder of the running program, no trailing backslash
extern WORD g_uiLanguage;       // language of the string resources ("Language", 1033)
extern CMainFrame* g_mainFrame; // the one main frame while it exists
extern BYTE g_doubleFrameRate;  // "DoubleFramerate"

// The running viewer is found by its frame's class and its title (string 200).
constexpr const wchar_t* kFrameClassName = L"QORMainFrame";
constexpr const wchar_t* kInstanceMutexName = L"Harvo QOR Mutex {196AA390-851E-4e3b-B3CA-16C58E83CE82}";
