// Waiting on the configurator started as a process of its own, and finding its main window.
#pragma once
#include <windows.h>

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

} // namespace test
