// Stands in for the viewer when a scheduled job fires: writes the arguments it was started with,
// one UTF-8 line each, to "arguments.txt" in its working folder (replaced in one step).
#include <windows.h>
#include <shellapi.h>

#include <string>

int main()
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments)
        return 1;
    std::string text;
    for (int i = 0; i < count; ++i) {
        char line[2048];
        const int n = WideCharToMultiByte(CP_UTF8, 0, arguments[i], -1, line, sizeof line, nullptr, nullptr);
        text += std::string(line, n > 0 ? n - 1 : 0) + "\n";
    }
    LocalFree(arguments);
    HANDLE file = CreateFileW(L"arguments.tmp", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return MoveFileExW(L"arguments.tmp", L"arguments.txt", MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
