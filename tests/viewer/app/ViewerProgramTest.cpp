// The real Tolvik.exe started by this harness: single instance and command-line forwarding
// against a fake running viewer, the window settings in the real registry, fullscreen and the
// screensaver, the tray icon, and the decoder's logo in the pictures it plays. Every started viewer
// is closed with WM_CLOSE and must end.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <dlgs.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "support/HostProgram.h"
#include "support/TestMedia.h"

#include "resource.h"

namespace {

const wchar_t* const kTitle = L"Tolvik v1.0";
const wchar_t* const kFrameClass = L"QORMainFrame";
const wchar_t* const kMutexName = L"Harvo QOR Mutex {196AA390-851E-4e3b-B3CA-16C58E83CE82}";
const wchar_t* const kProfileKey = L"Software\\Harvo\\Tolvik\\qor";

// A path of the support library as the platform names it.
std::wstring WindowsPath(const std::string& path)
{
    std::wstring out = path.size() > 1 && path[1] == ':' ? L"" : L"Z:";
    for (char c : path)
        out += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return out;
}

std::wstring ViewerPath()
{
    return WindowsPath(test::ProgramPath("Tolvik.exe"));
}

// Pumps this thread's messages until the condition holds or the time is up.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 20000)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        if (condition())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

class Viewer {
public:
    explicit Viewer(const std::wstring& arguments = L"")
    {
        std::wstring command = L"\"" + ViewerPath() + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
        if (!started)
            ADD_FAILURE() << "cannot start the viewer, error " << GetLastError() << ": "
                          << std::string(command.begin(), command.end());
    }
    ~Viewer()
    {
        if (!started)
            return;
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
            ADD_FAILURE() << "the viewer was still running";
            TerminateProcess(pi.hProcess, 1);
            WaitForSingleObject(pi.hProcess, 10000);
        }
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    bool Ended(DWORD timeoutMs = 20000)
    {
        bool ended = false;
        PumpUntil([&] { return ended = WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }, timeoutMs);
        return ended;
    }
    // The frame, once it is shown.
    HWND Frame()
    {
        HWND frame = nullptr;
        if (!started)
            return nullptr;
        PumpUntil([&] {
            frame = FindWindowW(kFrameClass, kTitle);
            return frame && IsWindowVisible(frame);
        });
        // The window shows while its settings are still being applied: a message sent now is
        // answered once start-up has returned to the message loop.
        DWORD_PTR ignored;
        if (frame)
            SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored);
        return frame;
    }
    bool Close(HWND frame)
    {
        PostMessageW(frame, WM_CLOSE, 0, 0);
        return Ended();
    }

    BOOL started = FALSE;
    PROCESS_INFORMATION pi{};
};

void ClearProfile()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
}

void SetProfile(const wchar_t* name, DWORD value)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kProfileKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
}

std::set<std::wstring> ProfileValueNames()
{
    std::set<std::wstring> names;
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kProfileKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.insert(name);
    }
    RegCloseKey(key);
    return names;
}

DWORD ProfileValue(const wchar_t* name)
{
    DWORD value = 0xFFFFFFFF, size = sizeof(value);
    RegGetValueW(HKEY_CURRENT_USER, kProfileKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

// A process keeps the system parameters it read once, so another process's change shows only in a
// fresh process: this program, started again, answers with its exit code.
const bool g_screenSaverQuery = [] {
    if (GetEnvironmentVariableW(L"TOLVIK_QUERY_SCREENSAVER", nullptr, 0) == 0)
        return false;
    BOOL active = FALSE;
    SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
    ExitProcess(active ? 1 : 0);
}();

BOOL ScreenSaverActive()
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    SetEnvironmentVariableW(L"TOLVIK_QUERY_SCREENSAVER", L"1");
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + std::wstring(self) + L"\"";
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableW(L"TOLVIK_QUERY_SCREENSAVER", nullptr);
    if (!started) {
        ADD_FAILURE() << "cannot start the query";
        return -1;
    }
    DWORD code = 2;
    if (WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, 2);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<BOOL>(code);
}

// A stand-in for the running viewer: its mutex and a frame window that records WM_COPYDATA.
struct CopyData {
    ULONG_PTR dwData;
    std::vector<BYTE> bytes;
};
std::vector<CopyData> g_received;

LRESULT CALLBACK FakeFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        const BYTE* bytes = static_cast<const BYTE*>(data->lpData);
        g_received.push_back({data->dwData, std::vector<BYTE>(bytes, bytes + data->cbData)});
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class FakeViewer {
public:
    // windowNow false: only the mutex, as while a viewer is still starting.
    explicit FakeViewer(bool windowNow = true)
    {
        mutex = CreateMutexW(nullptr, TRUE, kMutexName);
        g_received.clear();
        if (windowNow)
            CreateFrame();
    }
    void CreateFrame()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = FakeFrameProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kFrameClass;
        RegisterClassW(&wc);
        window = CreateWindowW(kFrameClass, kTitle, WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, wc.hInstance,
                               nullptr);
    }
    ~FakeViewer()
    {
        DestroyWindow(window);
        UnregisterClassW(kFrameClass, GetModuleHandleW(nullptr));
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
    HANDLE mutex;
    HWND window = nullptr;
};

class ViewerProgram : public ::testing::Test {
protected:
    void SetUp() override { ClearProfile(); }
    void TearDown() override { ClearProfile(); }
};

TEST_F(ViewerProgram, SecondInstanceForwardsItsArgumentsOnceAndEnds)
{
    FakeViewer first;
    ASSERT_NE(first.window, nullptr);
    {
        Viewer second(L"/rec 1 2 30 1 name");
        ASSERT_TRUE(second.started);
        ASSERT_TRUE(second.Ended());
    }
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].dwData, static_cast<ULONG_PTR>(-1));
    const std::u16string expected(u"/rec\0" u"1\0" u"2\0" u"30\0" u"1\0" u"name\0", 19);
    ASSERT_EQ(g_received[0].bytes.size(), expected.size() * 2);
    EXPECT_EQ(memcmp(g_received[0].bytes.data(), expected.data(), expected.size() * 2), 0);

    // Without arguments the running viewer hears nothing at all.
    g_received.clear();
    {
        Viewer third;
        ASSERT_TRUE(third.started);
        ASSERT_TRUE(third.Ended());
    }
    PumpUntil([] { return false; }, 200);
    EXPECT_TRUE(g_received.empty());
}

TEST_F(ViewerProgram, SecondInstanceWaitsForTheRunningViewersWindow)
{
    FakeViewer first(false);
    Viewer second(L"/rec 1 2 30 1 late");
    ASSERT_TRUE(second.started);
    // The running viewer's window comes up a second later; the command line still arrives.
    EXPECT_FALSE(second.Ended(1000));
    first.CreateFrame();
    ASSERT_NE(first.window, nullptr);
    ASSERT_TRUE(second.Ended());
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].bytes.size(), 2u * 19);
}

TEST_F(ViewerProgram, EmptyProfileOpensAt100x100And640x480AndSavesOnlyTheWindowValues)
{
    Viewer viewer;
    ASSERT_TRUE(viewer.started);
    HWND frame = viewer.Frame();
    ASSERT_NE(frame, nullptr);
    RECT r;
    GetWindowRect(frame, &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 100);
    EXPECT_EQ(r.right - r.left, 640);
    EXPECT_EQ(r.bottom - r.top, 480);
    // Borderless: one pixel of frame all round, no caption, not on top, on the taskbar.
    RECT client;
    GetClientRect(frame, &client);
    EXPECT_EQ(client.right, 638);
    EXPECT_EQ(client.bottom, 478);
    EXPECT_EQ(GetWindowLongPtrW(frame, GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_EQ(GetWindowLongPtrW(frame, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW), 0);
    // The minimum is a 320 x 240 client area.
    SetWindowPos(frame, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(frame, &client);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 240);
    ASSERT_TRUE(viewer.Close(frame));

    EXPECT_EQ(ProfileValueNames(), (std::set<std::wstring>{L"Left", L"Top", L"Width", L"Height", L"volume", L"OnTop"}));
    EXPECT_EQ(ProfileValue(L"Left"), 100u);
    EXPECT_EQ(ProfileValue(L"Width"), 322u);
    EXPECT_EQ(ProfileValue(L"Height"), 242u);
    EXPECT_EQ(ProfileValue(L"volume"), 100u);
    EXPECT_EQ(ProfileValue(L"OnTop"), 0u);
}

TEST_F(ViewerProgram, ZeroSizeFallsBackAndOnTopIsRestored)
{
    SetProfile(L"Width", 0);
    SetProfile(L"Height", 0);
    SetProfile(L"OnTop", 1);
    // As the first viewer with a command line it starts in full and hands the line to itself.
    Viewer viewer(L"/rec 1 2 30 1 name");
    HWND frame = viewer.Frame();
    ASSERT_NE(frame, nullptr);
    RECT r;
    GetWindowRect(frame, &r);
    EXPECT_EQ(r.right - r.left, 640);
    EXPECT_EQ(r.bottom - r.top, 480);
    EXPECT_NE(GetWindowLongPtrW(frame, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    // Always on top toggles off through its command.
    SendMessageW(frame, WM_COMMAND, ID_VIEW_ALWAYS_ON_TOP, 0);
    EXPECT_EQ(GetWindowLongPtrW(frame, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    ASSERT_TRUE(viewer.Close(frame));
    EXPECT_EQ(ProfileValue(L"OnTop"), 0u);
}

TEST_F(ViewerProgram, FullscreenTurnsTheScreensaverOffUntilRestoredOrClosed)
{
    SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    ASSERT_EQ(ScreenSaverActive(), TRUE);
    Viewer viewer;
    HWND frame = viewer.Frame();
    ASSERT_NE(frame, nullptr);
    SendMessageW(frame, WM_COMMAND, ID_VIEW_FULLSCREEN, 0);
    EXPECT_TRUE(IsZoomed(frame));
    EXPECT_EQ(ScreenSaverActive(), FALSE);
    SendMessageW(frame, WM_COMMAND, ID_VIEW_FULLSCREEN, 0);
    EXPECT_FALSE(IsZoomed(frame));
    EXPECT_EQ(ScreenSaverActive(), TRUE);
    SendMessageW(frame, WM_COMMAND, ID_VIEW_FULLSCREEN, 0);
    EXPECT_EQ(ScreenSaverActive(), FALSE);
    ASSERT_TRUE(viewer.Close(frame));
    EXPECT_EQ(ScreenSaverActive(), TRUE);
}

TEST_F(ViewerProgram, NormalSizeSetsTheClientToTheVideoAtItsAspect)
{
    Viewer viewer;
    HWND frame = viewer.Frame();
    ASSERT_NE(frame, nullptr);
    // No video yet: width 1 at 4:3 stays at the 320 x 240 minimum; the window does not move.
    RECT before, after, client;
    GetWindowRect(frame, &before);
    SendMessageW(frame, WM_COMMAND, ID_VIEW_NORMAL_SIZE, 0);
    GetWindowRect(frame, &after);
    GetClientRect(frame, &client);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 240);
    ASSERT_TRUE(viewer.Close(frame));
}

TEST_F(ViewerProgram, TrayModeKeepsAnIconUntilTheFrameCloses)
{
    SetProfile(L"SysTray", 1);
    Viewer viewer;
    HWND frame = viewer.Frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_NE(GetWindowLongPtrW(frame, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    HWND tray = FindWindowW(nullptr, L"QORTrayWnd");
    ASSERT_NE(tray, nullptr);
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = tray;
    data.uID = 128;
    data.uFlags = NIF_TIP;
    wcscpy(data.szTip, L"probe");
    // The icon is added by a message the tray window posts to itself.
    EXPECT_TRUE(PumpUntil([&] { return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE; }));
    // The shell's restart announcement adds it again; it is still there.
    SendMessageW(tray, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &data));
    ASSERT_TRUE(viewer.Close(frame));
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &data));
}

// The brightest grey of a rectangle of the frame's client area as the X server shows it; -1 when
// no grab arrived.
int Brightest(HWND frame, const RECT& r)
{
    const char* display = getenv("DISPLAY");
    const char* media = getenv("TOLVIK_MEDIA");
    POINT origin{r.left, r.top};
    ClientToScreen(frame, &origin);
    if (!display || !media || r.right <= r.left || r.bottom <= r.top)
        return -1;
    const int w = r.right - r.left, h = r.bottom - r.top;
    const std::string path = test::MediaPath("viewer_program_grab.gray");
    DeleteFileA(path.c_str());
    if (!test::StartHostProgram("/usr/bin/ffmpeg -v error -y -f x11grab -video_size " + std::to_string(w) + "x" +
                                std::to_string(h) + " -i " + display + "+" + std::to_string(origin.x) + "," +
                                std::to_string(origin.y) + " -frames:v 1 -f rawvideo -pix_fmt gray " + media +
                                "/viewer_program_grab.gray"))
        return -1;
    std::vector<uint8_t> grey;
    PumpUntil([&] {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
            data.nFileSizeLow < static_cast<DWORD>(w * h))
            return false;
        grey = test::ReadFileBytes(path);
        return grey.size() == static_cast<size_t>(w) * h;
    }, 10000);
    if (grey.size() != static_cast<size_t>(w) * h)
        return -1;
    return *std::max_element(grey.begin(), grey.end());
}

TEST_F(ViewerProgram, PlayedMpeg2PicturesCarryTheDecodersLogoAtTheirTopRight)
{
    SetProfile(L"OnTop", 1); // the grab takes whatever the screen shows there
    // A wide, low window: the picture is fitted by its height and centred, so its top-right corner
    // sits far from the OSD's window buttons in the client area's own top-right corner.
    SetProfile(L"Left", 0);
    SetProfile(L"Top", 0);
    SetProfile(L"Width", 1200);
    SetProfile(L"Height", 420);
    Viewer viewer;
    HWND frame = viewer.Frame();
    ASSERT_NE(frame, nullptr);
    // A black broadcast, opened from the File menu's dialog.
    PostMessageW(frame, WM_COMMAND, ID_FILE_OPEN_MEDIA, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w && !dialog;
             w = FindWindowExW(nullptr, w, L"#32770", nullptr))
            if (GetWindow(w, GW_OWNER) == frame && IsWindowVisible(w))
                dialog = w;
        return dialog != nullptr;
    })) << "no open dialog";
    const std::wstring file = WindowsPath(test::MediaPath("black_mpeg2/black.ts"));
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(SendMessageTimeoutW(GetDlgItem(dialog, cmb13), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()),
                                    SMTO_NORMAL, 10000, &ignored));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));

    // The 720 x 576 picture (square pixels) fitted into the client area, centred. The 133 x 48 logo
    // sits 16 lines from its top and 16 pixels from its right edge; its letters fill logo columns
    // 14-118 from row 13 to row 33. Their band on the screen, and the same band at the picture's
    // left edge, which stays black.
    RECT client;
    GetClientRect(frame, &client);
    const double width = std::min<double>(client.right, client.bottom * 1.25), scale = width / 720;
    const double left = (client.right - width) / 2, top = (client.bottom - width / 1.25) / 2;
    const auto band = [&](int x0, int x1) {
        return RECT{static_cast<LONG>(left + x0 * scale) + 1, static_cast<LONG>(top + (16 + 21) * scale),
                    static_cast<LONG>(left + x1 * scale) - 1, static_cast<LONG>(top + (16 + 33) * scale)};
    };
    const RECT letters = band(720 - 16 - 133 + 14, 720 - 16 - 133 + 118), mirrored = band(16 + 14, 16 + 118);
    int logo = -1, black = -1;
    PumpUntil([&] {
        logo = Brightest(frame, letters);
        black = Brightest(frame, mirrored);
        return logo > 120 && black >= 0 && black < 40;
    }, 40000);
    EXPECT_GT(logo, 120) << "the logo's letters at the top right";
    EXPECT_GE(black, 0) << "no grab";
    EXPECT_LT(black, 40) << "black at the top left";
    ASSERT_TRUE(viewer.Close(frame));
}

TEST(ViewerResources, TitleStringsMenuShortcutsAndIcon)
{
    HMODULE module = LoadLibraryExW(ViewerPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    auto text = [&](UINT id, LANGID language) {
        HRSRC block = FindResourceExW(module, MAKEINTRESOURCEW(6) /* RT_STRING */, MAKEINTRESOURCEW(id / 16 + 1), language);
        if (!block)
            return std::wstring();
        const WCHAR* p = static_cast<const WCHAR*>(LockResource(LoadResource(module, block)));
        for (UINT i = 0; i < id % 16; ++i)
            p += 1 + *p;
        return std::wstring(p + 1, *p);
    };
    const LANGID neutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    EXPECT_EQ(text(57344, neutral), L"qor");
    EXPECT_EQ(text(200, neutral), L"Tolvik v1.0");
    EXPECT_EQ(text(146, 1033), L"Fullscreen Alt+Enter");
    EXPECT_EQ(text(172, 1033), L"Sorry, no teletext available");
    EXPECT_EQ(text(164, 1033), L"Sorry, the page isn't available");
    for (UINT id = 143; id <= 151; ++id) {
        EXPECT_FALSE(text(id, 1033).empty()) << id;
        EXPECT_FALSE(text(id, 1051).empty()) << id;
        EXPECT_NE(text(id, 1033), text(id, 1051)) << id;
    }

    HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(128));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 3);
    EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 0), 1), 32778u);
    EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 1), 5), 32803u);
    DestroyMenu(menu);

    // The shortcuts the menu texts promise.
    HACCEL accelerators = LoadAcceleratorsW(module, MAKEINTRESOURCEW(128));
    ASSERT_NE(accelerators, nullptr);
    ACCEL table[16];
    const int count = CopyAcceleratorTableW(accelerators, table, 16);
    std::set<std::pair<int, int>> got;
    for (int i = 0; i < count; ++i)
        got.insert({table[i].key | ((table[i].fVirt & (FCONTROL | FALT)) << 16), table[i].cmd});
    const std::set<std::pair<int, int>> want = {
        {'O' | (FCONTROL << 16), 32776}, {'X' | (FCONTROL << 16), 32778}, {'1' | (FALT << 16), 32771},
        {'2' | (FALT << 16), 32772},     {'3' | (FALT << 16), 32773},     {VK_RETURN | (FALT << 16), 32774}};
    EXPECT_EQ(got, want);

    HICON icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(128), IMAGE_ICON, 32, 32, 0));
    EXPECT_NE(icon, nullptr);
    if (icon)
        DestroyIcon(icon);
    FreeLibrary(module);
}

} // namespace
