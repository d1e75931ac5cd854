// Waiting on the configurator started as a process of its own, and finding its main window.
#pragma once
#include <windows.h>

#include <string>

namespace test {

template <class Condition> bool WaitFor(Condition condition, DWORD milliseconds = 30000)
{
    for (ULONGLONG end = GetTickCount64() + milliseconds; GetTickCount64() < end; Sleep(20)) {
        if (condition())
            return true;
    }
    return condition();
}

struct FindWindowOf {
    DWORD process;
    HWND found;
};

// EnumWindows callback: the first visible, titled top-level window of `FindWindowOf::process`.
inline BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam)
{
    auto* find = reinterpret_cast<FindWindowOf*>(lParam);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process == find->process && IsWindowVisible(hwnd) && GetWindowTextLengthW(hwnd) > 0) {
        find->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Starts `program` (a full path; quoted here for blanks) in `folder` and waits for its main window;
// null when it did not start or showed none. `process` gets the process handle when it started.
inline HWND StartProgramWindow(const std::wstring& program, const wchar_t* folder, HANDLE* process)
{
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::wstring line = L"\"" + program + L"\"";
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder, &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    *process = pi.hProcess;
    FindWindowOf find = {pi.dwProcessId, nullptr};
    WaitFor([&] {
        EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&find));
        return find.found != nullptr;
    });
    return find.found;
}

} // namespace test
