// Drives a program's top-level window as a user's keyboard and mouse would, for the end-to-end
// test and the benchmarks (Python has no Windows handles under Wine).
//
//   window_input.exe TITLE ACTION...
//     key:VK         a key pressed and released (virtual-key code, decimal or 0x hex)
//     char:C         a typed character
//     command:N      a menu or button command id
//     text:ID/ID=T   sets the text of a control, found by dialog ids from the window down
//     click:ID/ID    clicks a button
//     read:ID/ID     prints the control's text on a line of its own
//     time           prints the wall clock (Unix seconds) of the moment, before the next action
//     size           prints the client area's width and height, the coordinates mouse actions take
//     send:MSG,W     sends message MSG with wParam W and prints the answer (the benchmark's counters)
//     hold:MS        lets MS milliseconds pass before the next action (a recording's length)
//     close          asks the window to close
//     mouse:X,Y      the pointer moves to X,Y of the client area
//     lclick:X,Y     a left click at X,Y of the client area (rclick: a right click)
//     menu:VK,VK...  keys typed into the window's popup menu once it is up (10 s), the window in front
//     type:VK,VK...  keys typed on the keyboard (SendInput) with the window in front, at once
// The window is waited for (20 s); exit code 0 when every action was delivered, 2 when the window
// or a control is not there, 1 for a bad action.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "PrintUtf8.h"

namespace {

HWND Control(HWND window, const wchar_t* path)
{
    for (const wchar_t* p = path; window && *p;) {
        wchar_t* end = nullptr;
        const long id = std::wcstol(p, &end, 0);
        if (end == p)
            return nullptr;
        window = GetDlgItem(window, static_cast<int>(id));
        p = *end == L'/' ? end + 1 : end;
    }
    return window;
}

// Types the comma-separated virtual-key codes on the keyboard, waiting `pause` ms after each; 0
// when typed, 1 for a bad code, 2 when the input was refused.
int TypeKeys(const wchar_t* codes, DWORD pause)
{
    for (const wchar_t* p = codes; *p;) {
        wchar_t* end = nullptr;
        INPUT keys[2] = {};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = static_cast<WORD>(std::wcstoul(p, &end, 0));
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        if (end == p || SendInput(2, keys, sizeof(INPUT)) != 2)
            return end == p ? 1 : 2;
        if (pause)
            Sleep(pause);
        p = *end == L',' ? end + 1 : end;
    }
    return 0;
}

// One action; 0 when delivered.
int Act(HWND window, const std::wstring& action)
{
    const size_t colon = action.find(L':');
    const std::wstring verb = action.substr(0, colon);
    const std::wstring argument = colon == std::wstring::npos ? L"" : action.substr(colon + 1);
    if (verb == L"key") {
        const auto vk = static_cast<WPARAM>(std::wcstoul(argument.c_str(), nullptr, 0));
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC)) << 16;
        return PostMessageW(window, WM_KEYDOWN, vk, scan | 1) && PostMessageW(window, WM_KEYUP, vk, scan | 0xC0000001)
                   ? 0 : 2;
    }
    if (verb == L"char" && !argument.empty())
        return PostMessageW(window, WM_CHAR, argument[0], 1) ? 0 : 2;
    if (verb == L"command")
        return PostMessageW(window, WM_COMMAND, std::wcstoul(argument.c_str(), nullptr, 0), 0) ? 0 : 2;
    if (verb == L"mouse" || verb == L"lclick" || verb == L"rclick") {
        wchar_t* end = nullptr;
        const long x = std::wcstol(argument.c_str(), &end, 0);
        if (*end != L',')
            return 1;
        const LPARAM at = MAKELPARAM(x, std::wcstol(end + 1, nullptr, 0));
        if (verb == L"mouse")
            return PostMessageW(window, WM_MOUSEMOVE, 0, at) ? 0 : 2;
        const bool left = verb == L"lclick";
        return PostMessageW(window, WM_MOUSEMOVE, 0, at) &&
                       PostMessageW(window, left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, left ? MK_LBUTTON : MK_RBUTTON, at) &&
                       PostMessageW(window, left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, at)
                   ? 0 : 2;
    }
    if (verb == L"menu") {
        // A popup menu takes no posted keys: they come from the input queue of the window in front.
        HWND popup = nullptr;
        for (int waited = 0; waited < 10000; waited += 50) {
            popup = FindWindowW(L"#32768", nullptr);
            if (popup && IsWindowVisible(popup))
                break;
            Sleep(50);
        }
        if (!popup || !IsWindowVisible(popup))
            return 2;
        SetForegroundWindow(window);
        return TypeKeys(argument.c_str(), 100); // the menu loop handles one key before the next arrives
    }
    if (verb == L"type") {
        // The keyboard's keys reach the window in front; it handles each after what the one before
        // posted.
        SetForegroundWindow(window);
        return TypeKeys(argument.c_str(), 0);
    }
    if (verb == L"close")
        return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 2;
    if (verb == L"time") {
        FILETIME now;
        GetSystemTimePreciseAsFileTime(&now);
        const unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
        std::printf("%.6f\n", (ticks - 116444736000000000ULL) / 1e7);
        std::fflush(stdout);
        return 0;
    }
    if (verb == L"size") {
        RECT client{};
        if (!GetClientRect(window, &client))
            return 2;
        std::printf("%ld %ld\n", client.right, client.bottom);
        std::fflush(stdout);
        return 0;
    }
    if (verb == L"send") {
        wchar_t* end = nullptr;
        const UINT message = static_cast<UINT>(std::wcstoul(argument.c_str(), &end, 0));
        if (*end != L',')
            return 1;
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutW(window, message, std::wcstoul(end + 1, nullptr, 0), 0, SMTO_NORMAL, 10000, &answer))
            return 2;
        std::printf("%llu\n", static_cast<unsigned long long>(answer));
        std::fflush(stdout);
        return 0;
    }
    if (verb == L"hold") {
        Sleep(std::wcstoul(argument.c_str(), nullptr, 0));
        return 0;
    }
    if (verb == L"text") {
        const size_t equals = argument.find(L'=');
        if (equals == std::wstring::npos)
            return 1;
        HWND control = Control(window, argument.substr(0, equals).c_str());
        return control && SetWindowTextW(control, argument.substr(equals + 1).c_str()) ? 0 : 2;
    }
    if (verb == L"click") {
        HWND control = Control(window, argument.c_str());
        if (!control)
            return 2;
        const int id = GetDlgCtrlID(control);
        return PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                            reinterpret_cast<LPARAM>(control)) ? 0 : 2;
    }
    if (verb == L"read") {
        HWND control = Control(window, argument.c_str());
        if (!control)
            return 2;
        wchar_t text[1024] = {};
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 10000, &ignored);
        test::PrintUtf8(text);
        return 0;
    }
    return 1;
}

} // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_input TITLE ACTION...\n");
        return 1;
    }
    HWND window = nullptr;
    for (int waited = 0; waited < 20000 && !(window = FindWindowW(nullptr, argv[1])); waited += 50)
        Sleep(50);
    if (!window) {
        std::fprintf(stderr, "window_input: no window titled %ls\n", argv[1]);
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        if (const int failed = Act(window, argv[i])) {
            std::fprintf(stderr, "window_input: %ls: %s\n", argv[i], failed == 1 ? "bad action" : "not delivered");
            return failed;
        }
    }
    return 0;
}
