#include "brenvo/win/RunAndWait.h"

#include <shellapi.h>

BOOL StartProgram(LPCSTR path, PROCESS_INFORMATION& process)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWDEFAULT;
    process = {};
    return ::CreateProcessA(path, nullptr, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                            &process);
}

DWORD RunAndWait(LPCSTR path)
{
    PROCESS_INFORMATION process;
    if (!StartProgram(path, process))
        return kRunFailed;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = kRunFailed;
    if (!::GetExitCodeProcess(process.hProcess, &code))
        code = kRunFailed;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return code;
}

CStringA ProgramFolder()
{
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return CStringA();
    CStringA folder(path, static_cast<int>(length));
    int end = 0;
    for (int i = 0; i < folder.GetLength(); ++i)
        if (folder.GetString()[i] == '\\')
            end = i + 1;
    return folder.Left(end);
}

CStringA SetupFilePath()
{
    char folder[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathA(sizeof(folder), folder);
    if (length == 0 || length >= sizeof(folder))
        return CStringA();
    return CStringA(folder) + "HarvoUpdate.exe";
}

BOOL StartViewer()
{
    const CStringA viewer = ProgramFolder() + "Tolvik.exe";
    const HINSTANCE result = ::ShellExecuteA(nullptr, "open", viewer, "", nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
