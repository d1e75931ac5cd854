// Starting a program of the host (a Linux binary such as ffmpeg or python3) from a test that runs
// under Wine. Wine starts it by its Unix path, but its process handle does not tell when it ends:
// wait for the file it writes.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <string>

namespace test {

inline bool StartHostProgram(const std::string& commandLine)
{
    std::wstring line(commandLine.begin(), commandLine.end());
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

} // namespace test
#endif
