// Running the downloaded setup program and starting the viewer after it.
#pragma once

#include <windows.h>

#include "framework/CStringA.h"

// The result of RunAndWait when the program could not be started: never a success.
const DWORD kRunFailed = static_cast<DWORD>(-1);

// Starts path as the application, without a command line or inherited handles, shown with
// SW_SHOWDEFAULT. TRUE with the process and thread handles in process.
BOOL StartProgram(LPCSTR path, PROCESS_INFORMATION& process);
// Runs path to its end: its exit code, or kRunFailed when it could not be started.
DWORD RunAndWait(LPCSTR path);

// The folder of this program, with a trailing backslash.
CStringA ProgramFolder();
// The setup file in the user's temporary folder, which the user can always write.
CStringA SetupFilePath();
// Opens the viewer by full path from this program's folder (never found through the search
// path); FALSE when the shell could not start it.
BOOL StartViewer();
