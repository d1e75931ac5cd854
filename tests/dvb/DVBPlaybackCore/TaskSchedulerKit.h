// Access to the Task Scheduler 1.0 jobs the scheduled-recording tests write, and the local time
// the system itself gives an instant (the peer the trigger's times are compared with).
#pragma once

#include <objbase.h>
#include <mstask.h>

#include <string>

namespace test {

struct CComApartment {
    CComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~CComApartment() { CoUninitialize(); }
};

inline ITaskScheduler* OpenScheduler()
{
    ITaskScheduler* scheduler = nullptr;
    // Right after the prefix starts the service may still be coming up.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (SUCCEEDED(CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                                       reinterpret_cast<void**>(&scheduler))))
            return scheduler;
        Sleep(100);
    }
    return nullptr;
}

inline ITask* OpenJob(ITaskScheduler* scheduler, const std::wstring& name)
{
    IUnknown* unknown = nullptr;
    if (FAILED(scheduler->Activate(name.c_str(), IID_ITask, &unknown)) || !unknown)
        return nullptr;
    ITask* job = nullptr;
    unknown->QueryInterface(IID_ITask, reinterpret_cast<void**>(&job));
    unknown->Release();
    return job;
}

// A string the job hands out (allocated with CoTaskMemAlloc).
template <class Getter> std::wstring JobText(Getter get)
{
    LPWSTR text = nullptr;
    if (FAILED(get(&text)) || !text)
        return L"<none>";
    std::wstring copy(text);
    CoTaskMemFree(text);
    return copy;
}

inline SYSTEMTIME LocalTimeOf(int64_t utc)
{
    ULARGE_INTEGER ticks;
    ticks.QuadPart = static_cast<uint64_t>(utc + 11644473600ll) * 10000000ull;
    FILETIME ft{ticks.LowPart, ticks.HighPart};
    SYSTEMTIME universal{}, local{};
    FileTimeToSystemTime(&ft, &universal);
    SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local);
    return local;
}

inline int64_t UtcNow()
{
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    ULARGE_INTEGER ticks{{ft.dwLowDateTime, ft.dwHighDateTime}};
    return static_cast<int64_t>(ticks.QuadPart / 10000000ull) - 11644473600ll;
}

inline std::wstring UniqueJobName(const wchar_t* what)
{
    return L"QORSR_" + std::wstring(what) + L"_" + std::to_wstring(GetTickCount64()) + L"_" +
           std::to_wstring(GetCurrentProcessId());
}

// The host path of a Windows path (Wine's own kernel32 export); empty when there is none.
inline std::string HostPath(const std::wstring& path)
{
    using Convert = char*(__cdecl*)(const wchar_t*);
    auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* host = convert ? convert(path.c_str()) : nullptr;
    if (!host)
        return std::string();
    std::string copy(host);
    HeapFree(GetProcessHeap(), 0, host);
    return copy;
}

// Starts a program of the host (Wine starts host executables by their path). Its process handle
// does not tell when it ends: callers wait for what it writes.
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
