// The configurator program started for real from a folder whose name has a blank, driven with
// window messages: the page list, the General and Record pages, Apply writing the viewer's values,
// the autostart entry and the default start channel, the Slovak interface, and Ok.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <iterator>
#include <vector>
#include <string>

#include "../dvb/DVBPlaybackCore/TaskSchedulerKit.h"
#include "support/TestMedia.h"

namespace {

const wchar_t kSettings[] = L"Software\\Harvo\\Tolvik\\qor";
const wchar_t kViewer[] = L"Software\\Harvo\\Tolvik";
const wchar_t kRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const DWORD kWait = 30000;

bool ReadDword(const wchar_t* key, const wchar_t* name, DWORD* value)
{
    DWORD size = sizeof(*value);
    return RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, value, &size) == ERROR_SUCCESS;
}

std::wstring ReadText(const wchar_t* key, const wchar_t* name)
{
    wchar_t text[600] = {};
    DWORD size = sizeof(text);
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return L"<none>";
    return text;
}

std::wstring WindowText(HWND hwnd)
{
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    return text;
}

template <class Condition> bool WaitFor(Condition condition, DWORD milliseconds = kWait)
{
    for (ULONGLONG end = GetTickCount64() + milliseconds; GetTickCount64() < end; Sleep(20)) {
        if (condition())
            return true;
    }
    return condition();
}

// Sent, not posted: the program has handled it when this returns; false when it did not answer
// (a message box it should not have shown, or a hang).
bool Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0, LRESULT* result = nullptr)
{
    DWORD_PTR answer = 0;
    bool answered = SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, kWait, &answer) != 0;
    if (result)
        *result = static_cast<LRESULT>(answer);
    return answered;
}

bool Click(HWND button) { return button && Send(button, BM_CLICK); }

struct FindWindowOf {
    DWORD process;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam)
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

// A visible top-level window of the process other than its main window (a dialog it opened).
BOOL CALLBACK MatchOtherWindow(HWND hwnd, LPARAM lParam)
{
    auto* find = reinterpret_cast<FindWindowOf*>(lParam);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process == find->process && IsWindowVisible(hwnd) && GetDlgItem(hwnd, 0xE900) == nullptr) {
        find->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The page dialog (a child of the form) that holds control id.
HWND PageWith(HWND form, int id)
{
    for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgItem(child, id) && GetDlgCtrlID(child) != 1018)
            return child;
    }
    return nullptr;
}

class PlintorProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        m_folder = std::wstring(temp) + L"plintor test " + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(m_folder.c_str(), nullptr);
        std::string program = test::ProgramPath("plintor.exe");
        ASSERT_TRUE(CopyFileW(std::wstring(program.begin(), program.end()).c_str(), (m_folder + L"plintor.exe").c_str(),
                              FALSE));
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettings);
        HKEY viewer = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, kViewer, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &viewer, nullptr);
        RegDeleteValueW(viewer, L"LastActiveService");
        RegDeleteValueW(viewer, L"LastActiveServiceIndex");
        RegCloseKey(viewer);
        HKEY run = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, kRun, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &run, nullptr);
        RegDeleteValueW(run, L"Tolvik");
        RegCloseKey(run);
    }

    void TearDown() override
    {
        if (m_process) {
            if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT)
                TerminateProcess(m_process, 1);
            CloseHandle(m_process);
        }
        for (const wchar_t* name : { L"grab.rgb", L"plintor.exe", L"channels.dat", L"channels.json", L"peer.sh", L"peer.rc" })
            DeleteFileW((m_folder + name).c_str());
        RemoveDirectoryW(m_folder.c_str());
    }

    // Runs channel_file.py (write or check) with the description on the program's channel file;
    // its exit code, -1 when it did not finish.
    int RunPeer(const std::string& command)
    {
        const std::string folder = test::HostPath(m_folder);
        DeleteFileW((m_folder + L"peer.rc").c_str());
        std::ofstream(folder + "channels.json") << m_description;
        const std::string script = test::SourcePath("tests/dvb/DVBPlaybackCore/channel_file.py");
        std::ofstream(folder + "peer.sh", std::ios::binary) << "/usr/bin/python3 '" << test::HostPath(std::wstring(script.begin(),
            script.end())) << "' " << command << " '"
            << folder << "channels.json' '" << folder << "channels.dat'\necho $? > '" << folder << "peer.rc.tmp'\nmv '"
            << folder << "peer.rc.tmp' '" << folder << "peer.rc'\n";
        if (!test::StartHostProgram("/bin/sh \"" + folder + "peer.sh\""))
            return -1;
        const std::wstring rc = m_folder + L"peer.rc";
        if (!WaitFor([&] { return GetFileAttributesW(rc.c_str()) != INVALID_FILE_ATTRIBUTES; }))
            return -1;
        int code = -1;
        std::ifstream(folder + "peer.rc") >> code;
        return code;
    }

    // The window as the X server shows it (rgb24, width x height), grabbed by ffmpeg; empty when no
    // grab arrived in time.
    std::vector<uint8_t> Grab(HWND hwnd, int* width, int* height)
    {
        RECT rect;
        GetWindowRect(hwnd, &rect);
        *width = (rect.right - rect.left) & ~1;
        *height = (rect.bottom - rect.top) & ~1;
        const char* display = getenv("DISPLAY");
        if (!display)
            return {};
        const std::wstring path = m_folder + L"grab.rgb";
        const size_t size = static_cast<size_t>(*width) * static_cast<size_t>(*height) * 3;
        DeleteFileW(path.c_str());
        const std::string command = "/usr/bin/ffmpeg -v error -y -f x11grab -video_size " + std::to_string(*width) + "x" +
                                    std::to_string(*height) + " -i " + display + "+" + std::to_string(rect.left) + "," +
                                    std::to_string(rect.top) + " -frames:v 1 -f rawvideo -pix_fmt rgb24 \"" +
                                    test::HostPath(path) + "\"";
        if (!test::StartHostProgram(command))
            return {};
        std::vector<uint8_t> bytes;
        WaitFor([&] {
            WIN32_FILE_ATTRIBUTE_DATA data;
            if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) || data.nFileSizeLow < size)
                return false;
            std::ifstream in(test::HostPath(path), std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            return bytes.size() == size;
        });
        DeleteFileW(path.c_str());
        return bytes;
    }

    HWND Start()
    {
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        std::wstring line = L"\"" + m_folder + L"plintor.exe\"";
        if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, m_folder.c_str(), &si, &pi))
            return nullptr;
        CloseHandle(pi.hThread);
        m_process = pi.hProcess;
        FindWindowOf find = { pi.dwProcessId, nullptr };
        WaitFor([&] {
            EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&find));
            return find.found != nullptr;
        });
        return find.found;
    }

    std::wstring m_folder;
    std::string m_description;
    HANDLE m_process = nullptr;
};

TEST_F(PlintorProgramTest, PagesApplyLanguageAndOk)
{
    m_description = "{\"records\":[{\"sid\":34,\"tsid\":17,\"onid\":0,\"reserved\":0,\"favourite\":-1,\"channel\":3,"
                    "\"dvb_type\":0,\"type\":1,\"name\":\"One\",\"provider\":\"\",\"scrambled\":0,\"teletext\":0,"
                    "\"subtitles\":0,\"epg\":0,\"audio\":0,\"logo\":\"\",\"pids\":[0,0,0,0,0],\"tune\":[]}]}";
    ASSERT_EQ(0, RunPeer("write"));

    HWND frame = Start();
    ASSERT_NE(nullptr, frame);
    EXPECT_EQ(L"Tolvik options", WindowText(frame));
    const LONG style = GetWindowLongW(frame, GWL_STYLE);
    EXPECT_EQ(0, style & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    EXPECT_EQ(0, GetWindowLongW(frame, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    HWND form = GetDlgItem(frame, 0xE900);
    ASSERT_NE(nullptr, form);
    HWND list = GetDlgItem(form, 1018);
    ASSERT_NE(nullptr, list);
    LRESULT count = 0;
    ASSERT_TRUE(Send(list, LVM_GETITEMCOUNT, 0, 0, &count));
    EXPECT_EQ(5, count);
    HWND general = PageWith(form, 1048);
    HWND record = PageWith(form, 1044);
    ASSERT_NE(nullptr, general);
    ASSERT_NE(nullptr, record);
    EXPECT_TRUE(IsWindowVisible(general));
    EXPECT_FALSE(IsWindowVisible(record));

    // Missing values show the viewer's defaults: high quality on, the others off.
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(general, 1082));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(general, 1002));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(general, 1072));

    // Nothing is written before Apply.
    ASSERT_TRUE(Click(GetDlgItem(general, 1002)));
    DWORD value = 0;
    EXPECT_FALSE(ReadDword(kSettings, L"Autostart", &value));
    ASSERT_TRUE(Click(GetDlgItem(form, 1031)));
    ASSERT_TRUE(ReadDword(kSettings, L"Autostart", &value));
    EXPECT_EQ(1u, value);
    ASSERT_TRUE(ReadDword(kSettings, L"DoubleFramerate", &value));
    EXPECT_EQ(1u, value);
    for (const wchar_t* name : { L"Fullscreen", L"SysTray", L"Autoupdate" }) {
        ASSERT_TRUE(ReadDword(kSettings, name, &value)) << name;
        EXPECT_EQ(0u, value) << name;
    }
    ASSERT_TRUE(ReadDword(kSettings, L"Language", &value));
    EXPECT_EQ(1033u, value);
    ASSERT_TRUE(ReadDword(kSettings, L"FreeDiskSpace", &value));
    EXPECT_EQ(80u, value);
    EXPECT_NE(std::wstring::npos, ReadText(kSettings, L"RecPath").find(L"\\Tolvik recordings"));
    EXPECT_EQ(L"\"" + m_folder + L"Tolvik.exe\"", ReadText(kRun, L"Tolvik"));
    ASSERT_TRUE(ReadDword(kViewer, L"LastActiveService", &value));
    EXPECT_EQ((17u << 16) | 34u, value);
    ASSERT_TRUE(ReadDword(kViewer, L"LastActiveServiceIndex", &value));
    EXPECT_EQ(1003u, value);
    EXPECT_EQ(0, RunPeer("check"));

    // The selected row in its colour, the next one white.
    int width = 0, height = 0;
    std::vector<uint8_t> english = Grab(list, &width, &height);
    ASSERT_EQ(static_cast<size_t>(width) * height * 3, english.size());
    auto pixel = [&](const std::vector<uint8_t>& image, int x, int y) {
        const uint8_t* p = &image[(static_cast<size_t>(y) * width + x) * 3];
        return RGB(p[0], p[1], p[2]);
    };
    EXPECT_EQ(RGB(166, 202, 240), pixel(english, width - 12, 6));
    EXPECT_EQ(RGB(255, 255, 255), pixel(english, width - 12, 36 + 18));

    // An existing pair is the user's: kept. Unchecking autostart removes the Run entry.
    HKEY viewer = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, kViewer, 0, KEY_ALL_ACCESS, &viewer));
    DWORD other = 0x00050006, otherIndex = 1009;
    RegSetValueExW(viewer, L"LastActiveService", 0, REG_DWORD, reinterpret_cast<BYTE*>(&other), sizeof(other));
    RegSetValueExW(viewer, L"LastActiveServiceIndex", 0, REG_DWORD, reinterpret_cast<BYTE*>(&otherIndex), sizeof(otherIndex));
    RegCloseKey(viewer);
    ASSERT_TRUE(Click(GetDlgItem(general, 1002)));
    ASSERT_TRUE(Click(GetDlgItem(form, 1031)));
    EXPECT_EQ(L"<none>", ReadText(kRun, L"Tolvik"));
    ASSERT_TRUE(ReadDword(kViewer, L"LastActiveService", &value));
    EXPECT_EQ(other, value);
    ASSERT_TRUE(ReadDword(kViewer, L"LastActiveServiceIndex", &value));
    EXPECT_EQ(otherIndex, value);

    // The second row shows the Record page; its folder is written by Apply.
    ASSERT_TRUE(Send(list, WM_KEYDOWN, VK_DOWN, 0));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(record) && !IsWindowVisible(general); }, 5000));
    const wchar_t folder[] = L"C:\\My recordings\\TV";
    ASSERT_TRUE(Send(GetDlgItem(record, 1044), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder)));
    ASSERT_TRUE(Click(GetDlgItem(form, 1031)));
    EXPECT_EQ(folder, ReadText(kSettings, L"RecPath"));
    EXPECT_EQ(L"Browse", WindowText(GetDlgItem(record, 1045)));
    EXPECT_NE(std::wstring::npos, WindowText(GetDlgItem(record, 1073)).find(L"For one recording Tolvik takes mostly 80%"));

    // The folder picker opens and, closed without a choice, changes nothing.
    ASSERT_TRUE(PostMessageW(GetDlgItem(record, 1045), BM_CLICK, 0, 0));
    HWND picker = nullptr;
    EXPECT_TRUE(WaitFor([&] {
        FindWindowOf find = { GetProcessId(m_process), nullptr };
        EnumWindows(&MatchOtherWindow, reinterpret_cast<LPARAM>(&find));
        picker = find.found;
        return picker != nullptr && picker != frame;
    }));
    if (picker && picker != frame) {
        PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(picker); }));
    }
    wchar_t shown[MAX_PATH] = {};
    ASSERT_TRUE(Send(GetDlgItem(record, 1044), WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(shown)));
    EXPECT_STREQ(folder, shown);

    ASSERT_TRUE(Send(list, WM_KEYDOWN, VK_UP, 0));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(general); }, 5000));

    // Slovak relabels the buttons, the title and the pages at once.
    HWND languages = GetDlgItem(general, 1048);
    LRESULT languageCount = 0;
    ASSERT_TRUE(Send(languages, CB_GETCOUNT, 0, 0, &languageCount));
    ASSERT_EQ(2, languageCount);
    ASSERT_TRUE(Send(languages, CB_SETCURSEL, 1));
    ASSERT_TRUE(Send(general, WM_COMMAND, MAKEWPARAM(1048, CBN_SELCHANGE), reinterpret_cast<LPARAM>(languages)));
    EXPECT_EQ(L"Nastavenia Tolvik", WindowText(frame));
    EXPECT_EQ(L"Použiť", WindowText(GetDlgItem(form, 1031)));
    EXPECT_EQ(L"Zrušiť", WindowText(GetDlgItem(form, 1015)));
    EXPECT_EQ(L"Spustenie", WindowText(GetDlgItem(general, 1080)));
    std::vector<uint8_t> slovak = Grab(list, &width, &height);
    ASSERT_EQ(english.size(), slovak.size());
    int differing = 0;
    for (int y = 0; y < 72; ++y) {
        for (int x = 40; x < width - 20; ++x)
            differing += pixel(english, x, y) != pixel(slovak, x, y);
    }
    EXPECT_GT(differing, 50); // the titles are drawn in the new language
    EXPECT_EQ(RGB(166, 202, 240), pixel(slovak, width - 12, 6));
    ASSERT_TRUE(Send(list, WM_KEYDOWN, VK_DOWN, 0));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(record); }, 5000));
    EXPECT_EQ(L"Prehľadávať", WindowText(GetDlgItem(record, 1045)));

    // Ok applies and closes.
    ASSERT_TRUE(Click(GetDlgItem(form, 1030)));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m_process, kWait));
    ASSERT_TRUE(ReadDword(kSettings, L"Language", &value));
    EXPECT_EQ(1051u, value);
}

TEST_F(PlintorProgramTest, EmptyChannelListWritesNoStartChannel)
{
    HWND frame = Start();
    ASSERT_NE(nullptr, frame);
    HWND form = GetDlgItem(frame, 0xE900);
    ASSERT_TRUE(Click(GetDlgItem(form, 1031)));
    ASSERT_TRUE(Click(GetDlgItem(form, 1031))); // twice
    DWORD value = 0;
    EXPECT_FALSE(ReadDword(kViewer, L"LastActiveService", &value));
    EXPECT_FALSE(ReadDword(kViewer, L"LastActiveServiceIndex", &value));
    // Cancel writes nothing more and closes.
    ASSERT_TRUE(Click(GetDlgItem(form, 1015)));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m_process, kWait));
}

} // namespace
