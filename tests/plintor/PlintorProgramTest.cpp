// The configurator program started for real from a folder whose name has a blank, driven with
// window messages: the page list, the General and Record pages, Apply writing the viewer's values,
// the autostart entry and the default start channel, the Slovak interface, and Ok; the channel
// editor and the favourites page searched, reordered and pruned, read back by the channel file's
// own reader, with the recordings of removed channels gone from the Task Scheduler.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <vector>
#include <string>

#include "JobKit.h"
#include "framework/win/CView.h"
#include "resource.h"
#include "ProgramWindow.h"
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

using test::WaitFor;

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

// A field's text as the field holds it (GetWindowText does not ask another process's field).
std::wstring FieldText(HWND field)
{
    wchar_t text[512] = {};
    Send(field, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

using test::FindWindowOf;

// A visible top-level window of the process other than its main window (a dialog it opened).
BOOL CALLBACK MatchOtherWindow(HWND hwnd, LPARAM lParam)
{
    auto* find = reinterpret_cast<FindWindowOf*>(lParam);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process == find->process && IsWindowVisible(hwnd) && GetDlgItem(hwnd, AFX_IDW_PANE_FIRST) == nullptr) {
        find->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The page dialog (a child of the form) that holds control id.
HWND PageWith(HWND form, int id)
{
    for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgItem(child, id) && GetDlgCtrlID(child) != IDC_PAGE_LIST)
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
        for (const wchar_t* name : { L"grab.rgb", L"plintor.exe", L"channels.dat", L"channels.json", L"peer.sh", L"peer.rc",
                                     L"green.png", L"cut.jpg" })
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
        return test::StartProgramWindow(m_folder + L"plintor.exe", m_folder.c_str(), &m_process);
    }

    // A list-view message whose parameter points into the program: the structure is copied into
    // its memory and back.
    template <class T> bool SendInto(HWND hwnd, UINT message, WPARAM wParam, T* data, LRESULT* result = nullptr)
    {
        void* remote = VirtualAllocEx(m_process, nullptr, sizeof(T), MEM_COMMIT, PAGE_READWRITE);
        if (!remote)
            return false;
        SIZE_T done = 0;
        const bool ok = WriteProcessMemory(m_process, remote, data, sizeof(T), &done) &&
                        Send(hwnd, message, wParam, reinterpret_cast<LPARAM>(remote), result) &&
                        ReadProcessMemory(m_process, remote, data, sizeof(T), &done);
        VirtualFreeEx(m_process, remote, 0, MEM_RELEASE);
        return ok;
    }

    // Exactly these rows selected (the first also focused).
    bool SelectRows(HWND list, std::initializer_list<int> rows)
    {
        LVITEMW item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        bool ok = SendInto(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), &item);
        for (int row : rows) {
            item.state = row == *rows.begin() ? LVIS_SELECTED | LVIS_FOCUSED : LVIS_SELECTED;
            ok = ok && SendInto(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), &item);
        }
        return ok;
    }

    std::vector<int> SelectedRows(HWND list)
    {
        std::vector<int> rows;
        LRESULT row = -1;
        while (Send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED, &row) && row >= 0)
            rows.push_back(static_cast<int>(row));
        return rows;
    }

    RECT CellOf(HWND list, int row, int column)
    {
        RECT cell = {};
        cell.top = column;
        cell.left = LVIR_BOUNDS;
        SendInto(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), &cell);
        return cell;
    }

    // A visible window of the program with this title (a message box it shows).
    HWND WaitForWindowTitled(const std::wstring& title)
    {
        struct CFind {
            DWORD process;
            const std::wstring* title;
            HWND found;
        } find = { GetProcessId(m_process), &title, nullptr };
        WaitFor([&] {
            EnumWindows([](HWND hwnd, LPARAM lParam) -> BOOL {
                auto* f = reinterpret_cast<CFind*>(lParam);
                DWORD process = 0;
                GetWindowThreadProcessId(hwnd, &process);
                if (process == f->process && IsWindowVisible(hwnd) && WindowText(hwnd) == *f->title) {
                    f->found = hwnd;
                    return FALSE;
                }
                return TRUE;
            }, reinterpret_cast<LPARAM>(&find));
            return find.found != nullptr;
        });
        return find.found;
    }

    // The text of a list row's column (kept as the item's text).
    std::wstring RowText(HWND list, int row, int column)
    {
        struct {
            LVITEMW item;
            wchar_t text[256];
        } remote = {};
        void* base = VirtualAllocEx(m_process, nullptr, sizeof(remote), MEM_COMMIT, PAGE_READWRITE);
        if (!base)
            return L"<none>";
        remote.item.iSubItem = column;
        remote.item.cchTextMax = 256;
        remote.item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(base) + offsetof(decltype(remote), text));
        SIZE_T done = 0;
        WriteProcessMemory(m_process, base, &remote, sizeof(remote), &done);
        Send(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(base));
        ReadProcessMemory(m_process, base, &remote, sizeof(remote), &done);
        VirtualFreeEx(m_process, base, 0, MEM_RELEASE);
        return remote.text;
    }

    // The row whose first column reads text; -1 when none does.
    int RowWith(HWND list, const std::wstring& text)
    {
        LRESULT rows = 0;
        Send(list, LVM_GETITEMCOUNT, 0, 0, &rows);
        for (int row = 0; row < rows; ++row) {
            if (RowText(list, row, 0) == text)
                return row;
        }
        return -1;
    }

    bool SetPicker(HWND picker, WORD year, WORD month, WORD day, WORD hour, WORD minute)
    {
        SYSTEMTIME time = {};
        time.wYear = year;
        time.wMonth = month;
        time.wDay = day;
        time.wHour = hour;
        time.wMinute = minute;
        LRESULT set = 0;
        return SendInto(picker, DTM_SETSYSTEMTIME, GDT_VALID, &time, &set) && set;
    }

    std::wstring m_folder;
    std::string m_description;
    HANDLE m_process = nullptr;
};

// One record of a channel file description for channel_file.py.
struct CChannel {
    int tsid, sid, type, channel, favourite;
    const char* name;
    int scrambled;
    std::string logo; // a Windows path
};

std::string JsonText(const std::string& text)
{
    std::string escaped;
    for (char c : text)
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return escaped;
}

std::string Describe(const std::vector<CChannel>& channels)
{
    std::string text = "{\"records\":[";
    for (const CChannel& c : channels) {
        text += std::string(&c == &channels.front() ? "" : ",") + "{\"sid\":" + std::to_string(c.sid) +
                ",\"tsid\":" + std::to_string(c.tsid) + ",\"onid\":0,\"reserved\":0,\"favourite\":" +
                std::to_string(c.favourite) + ",\"channel\":" + std::to_string(c.channel) +
                ",\"dvb_type\":0,\"type\":" + std::to_string(c.type) + ",\"name\":\"" + c.name +
                "\",\"provider\":\"\",\"scrambled\":" + std::to_string(c.scrambled) +
                ",\"teletext\":1,\"subtitles\":0,\"epg\":1,\"audio\":0,\"logo\":\"" + JsonText(c.logo) + "\","
                "\"pids\":[0,0,0,0,0],\"tune\":[]}";
    }
    return text + "]}";
}

// The visible page dialog holding control id (the TV and radio editors share their ids).
HWND ShownPageWith(HWND form, int id)
{
    for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgItem(child, id) && GetDlgCtrlID(child) != IDC_PAGE_LIST && IsWindowVisible(child))
            return child;
    }
    return nullptr;
}

void Type(HWND target, const wchar_t* text)
{
    for (const wchar_t* c = text; *c; ++c)
        PostMessageW(target, WM_CHAR, *c, 1);
}

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
    HWND form = GetDlgItem(frame, AFX_IDW_PANE_FIRST);
    ASSERT_NE(nullptr, form);
    HWND list = GetDlgItem(form, IDC_PAGE_LIST);
    ASSERT_NE(nullptr, list);
    LRESULT count = 0;
    ASSERT_TRUE(Send(list, LVM_GETITEMCOUNT, 0, 0, &count));
    EXPECT_EQ(7, count); // general, record, scan, TV and radio channels, favourites, scheduler
    // Every row carries its text (screen readers and the list's own type-ahead search read it).
    const wchar_t* const rowTexts[] = {L"General", L"Record Options", L"Scan Channels", L"TV Channels",
                                       L"Radio Channel", L"Favorites", L"Scheduler"};
    for (int row = 0; row < 7; ++row)
        EXPECT_EQ(rowTexts[row], RowText(list, row, 0)) << row;
    HWND general = PageWith(form, IDC_LANGUAGE);
    HWND record = PageWith(form, IDC_RECORD_FOLDER);
    ASSERT_NE(nullptr, general);
    ASSERT_NE(nullptr, record);
    EXPECT_TRUE(IsWindowVisible(general));
    EXPECT_FALSE(IsWindowVisible(record));

    // Missing values show the viewer's defaults: high quality on, the others off.
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(general, IDC_DOUBLE_FRAMERATE));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(general, IDC_AUTOSTART));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(general, IDC_FULLSCREEN));

    // Nothing is written before Apply.
    ASSERT_TRUE(Click(GetDlgItem(general, IDC_AUTOSTART)));
    DWORD value = 0;
    EXPECT_FALSE(ReadDword(kSettings, L"Autostart", &value));
    ASSERT_TRUE(Click(GetDlgItem(form, IDC_APPLY)));
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
    ASSERT_TRUE(Click(GetDlgItem(general, IDC_AUTOSTART)));
    ASSERT_TRUE(Click(GetDlgItem(form, IDC_APPLY)));
    EXPECT_EQ(L"<none>", ReadText(kRun, L"Tolvik"));
    ASSERT_TRUE(ReadDword(kViewer, L"LastActiveService", &value));
    EXPECT_EQ(other, value);
    ASSERT_TRUE(ReadDword(kViewer, L"LastActiveServiceIndex", &value));
    EXPECT_EQ(otherIndex, value);

    // The second row shows the Record page; its folder is written by Apply.
    ASSERT_TRUE(Send(list, WM_KEYDOWN, VK_DOWN, 0));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(record) && !IsWindowVisible(general); }, 5000));
    const wchar_t folder[] = L"C:\\My recordings\\TV";
    ASSERT_TRUE(Send(GetDlgItem(record, IDC_RECORD_FOLDER), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder)));
    ASSERT_TRUE(Click(GetDlgItem(form, IDC_APPLY)));
    EXPECT_EQ(folder, ReadText(kSettings, L"RecPath"));
    EXPECT_EQ(L"Browse", WindowText(GetDlgItem(record, IDC_BROWSE)));
    EXPECT_NE(std::wstring::npos, WindowText(GetDlgItem(record, IDC_SHARE_TEXT)).find(L"For one recording Tolvik takes mostly 80%"));

    // The folder picker opens and, closed without a choice, changes nothing.
    ASSERT_TRUE(PostMessageW(GetDlgItem(record, IDC_BROWSE), BM_CLICK, 0, 0));
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
    ASSERT_TRUE(Send(GetDlgItem(record, IDC_RECORD_FOLDER), WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(shown)));
    EXPECT_STREQ(folder, shown);

    ASSERT_TRUE(Send(list, WM_KEYDOWN, VK_UP, 0));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(general); }, 5000));

    // Slovak relabels the buttons, the title and the pages at once.
    HWND languages = GetDlgItem(general, IDC_LANGUAGE);
    LRESULT languageCount = 0;
    ASSERT_TRUE(Send(languages, CB_GETCOUNT, 0, 0, &languageCount));
    ASSERT_EQ(2, languageCount);
    ASSERT_TRUE(Send(languages, CB_SETCURSEL, 1));
    ASSERT_TRUE(Send(general, WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(languages)));
    EXPECT_EQ(L"Nastavenia Tolvik", WindowText(frame));
    EXPECT_EQ(L"Použiť", WindowText(GetDlgItem(form, IDC_APPLY)));
    EXPECT_EQ(L"Zrušiť", WindowText(GetDlgItem(form, IDC_CANCEL)));
    EXPECT_EQ(L"Spustenie", WindowText(GetDlgItem(general, IDC_HEADING_STARTUP)));
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
    EXPECT_EQ(L"Prehľadávať", WindowText(GetDlgItem(record, IDC_BROWSE)));

    // Ok applies and closes.
    ASSERT_TRUE(Click(GetDlgItem(form, IDC_OK)));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m_process, kWait));
    ASSERT_TRUE(ReadDword(kSettings, L"Language", &value));
    EXPECT_EQ(1051u, value);
}

TEST_F(PlintorProgramTest, EmptyChannelListWritesNoStartChannel)
{
    HWND frame = Start();
    ASSERT_NE(nullptr, frame);
    HWND form = GetDlgItem(frame, AFX_IDW_PANE_FIRST);
    ASSERT_TRUE(Click(GetDlgItem(form, IDC_APPLY)));
    ASSERT_TRUE(Click(GetDlgItem(form, IDC_APPLY))); // twice
    DWORD value = 0;
    EXPECT_FALSE(ReadDword(kViewer, L"LastActiveService", &value));
    EXPECT_FALSE(ReadDword(kViewer, L"LastActiveServiceIndex", &value));
    // Cancel writes nothing more and closes.
    ASSERT_TRUE(Click(GetDlgItem(form, IDC_CANCEL)));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m_process, kWait));
}

TEST_F(PlintorProgramTest, ChannelEditorAndFavourites)
{
    // Twelve TV channels (transport stream 1), five radio channels (2), four favourites.
    std::vector<CChannel> channels = {
        {1, 1, 1, 0, -1, "Alpha", 0, ""},      {1, 2, 1, 1, -1, "Beta Sport", 1, ""}, {1, 3, 1, 2, 1, "News Sport", 0, ""},
        {1, 4, 1, 3, -1, "Delta", 0, ""},      {1, 5, 1, 4, 0, "Sport News Extra", 0, ""}, {1, 6, 1, 5, -1, "Epsilon", 0, ""},
        {1, 7, 1, 6, -1, "Zeta", 0, ""},       {1, 8, 1, 7, 2, "Eta", 0, ""},         {1, 9, 1, 8, -1, "Theta", 0, ""},
        {1, 10, 1, 9, 3, "Iota", 0, ""},       {1, 11, 1, 10, -1, "Kappa", 0, ""},    {1, 12, 1, 11, -1, "Lambda", 0, ""},
        {2, 1, 2, 0, -1, "Radio A", 0, ""},    {2, 2, 2, 1, -1, "Radio B", 0, ""},    {2, 3, 2, 2, -1, "Radio C", 0, ""},
        {2, 4, 2, 3, -1, "Radio D", 0, ""},    {2, 5, 2, 4, -1, "Radio E", 0, ""},
    };
    // Logos: a green PNG for Alpha, a JPEG cut short for Delta (it does not load: not drawn).
    const std::string folder = test::HostPath(m_folder);
    std::ofstream(folder + "logos.sh", std::ios::binary)
        << "/usr/bin/ffmpeg -v error -y -f lavfi -i color=c=0x00C000:s=40x20 -frames:v 1 '" << folder << "green.png'\n"
        << "/usr/bin/ffmpeg -v error -y -f lavfi -i color=c=blue:s=40x20 -frames:v 1 -f mjpeg - | head -c 150 > '"
        << folder << "cut.jpg'\nmv '" << folder << "logos.sh' '" << folder << "logos.done'\n";
    ASSERT_TRUE(test::StartHostProgram("/bin/sh \"" + folder + "logos.sh\""));
    const std::wstring done = m_folder + L"logos.done";
    ASSERT_TRUE(WaitFor([&] { return GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES; }));
    DeleteFileW(done.c_str());
    const std::string windowsFolder(m_folder.begin(), m_folder.end());
    channels[0].logo = windowsFolder + "green.png";
    channels[3].logo = windowsFolder + "cut.jpg";
    m_description = Describe(channels);
    ASSERT_EQ(0, RunPeer("write"));
    // Epsilon and Zeta have a scheduled recording each.
    test::CComApartment com;
    ITaskScheduler* scheduler = test::OpenScheduler();
    ASSERT_NE(nullptr, scheduler);
    const std::wstring epsilonJob = test::UniqueJobName(L"epsilon");
    const std::wstring zetaJob = test::UniqueJobName(L"zeta");
    MakeJob(scheduler, { epsilonJob, L"/rec 1 6 45 0 C:\\e.ts" });
    MakeJob(scheduler, { zetaJob, L"/rec 1 7 45 0 C:\\z.ts" });

    HWND frame = Start();
    ASSERT_NE(nullptr, frame);
    HWND form = GetDlgItem(frame, AFX_IDW_PANE_FIRST);
    HWND pages = GetDlgItem(form, IDC_PAGE_LIST);
    // General, Record, the scan wizard, then the TV channel editor.
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(Send(pages, WM_KEYDOWN, VK_DOWN));
    HWND editor = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (editor = ShownPageWith(form, IDC_CHANNEL_REMOVE)) != nullptr; }, 5000));
    HWND list = GetDlgItem(editor, IDC_CHANNEL_LIST);
    HWND search = GetDlgItem(editor, IDC_CHANNEL_SEARCH);
    HWND up = GetDlgItem(editor, IDC_CHANNEL_UP);
    HWND down = GetDlgItem(editor, IDC_CHANNEL_DOWN);
    auto count = [&](HWND rows) {
        LRESULT n = -1;
        Send(rows, LVM_GETITEMCOUNT, 0, 0, &n);
        return static_cast<int>(n);
    };
    EXPECT_EQ(12, count(list));
    EXPECT_EQ(L"type search here", FieldText(search));
    EXPECT_EQ(L"Up", WindowText(up));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(editor, IDC_CHANNEL_REMOVE))); // nothing selected

    // The scrambled channel's name is red, the others' black.
    int width = 0, height = 0;
    std::vector<uint8_t> grab = Grab(list, &width, &height);
    ASSERT_EQ(static_cast<size_t>(width) * height * 3, grab.size());
    RECT window, client = {};
    GetWindowRect(list, &window);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&client), 1);
    auto redPixels = [&](int row) {
        RECT cell = CellOf(list, row, 1);
        int red = 0;
        for (int y = cell.top; y < cell.bottom; ++y)
            for (int x = cell.left; x < cell.right; ++x) {
                const int gx = x + client.left - window.left, gy = y + client.top - window.top;
                if (gx < 0 || gy < 0 || gx >= width || gy >= height)
                    continue;
                const uint8_t* p = &grab[(static_cast<size_t>(gy) * width + gx) * 3];
                red += p[0] > 0x80 && p[1] < 0x50 && p[2] < 0x50;
            }
        return red;
    };
    EXPECT_GT(redPixels(1), 10);
    EXPECT_EQ(0, redPixels(0));
    // Alpha's logo, scaled to the row (21 pixels high, 42 wide), stands 5 pixels inside the
    // name's cell; the cut logo of Delta leaves its row white there.
    auto pixelAt = [&](int row, int xFromRight, int yFromTop) {
        RECT cell = CellOf(list, row, 1);
        const int gx = cell.right - xFromRight + client.left - window.left;
        const int gy = cell.top + yFromTop + client.top - window.top;
        if (gx < 0 || gy < 0 || gx >= width || gy >= height)
            return RGB(1, 2, 3);
        const uint8_t* p = &grab[(static_cast<size_t>(gy) * width + gx) * 3];
        return RGB(p[0], p[1], p[2]);
    };
    const COLORREF logo = pixelAt(0, 5 + 21, 11); // ffmpeg's green, near 0x00C000
    EXPECT_TRUE(GetRValue(logo) < 0x20 && GetGValue(logo) > 0xA0 && GetBValue(logo) < 0x20) << std::hex << logo;
    EXPECT_EQ(RGB(255, 255, 255), pixelAt(0, 5 + 42 + 3, 11));
    EXPECT_EQ(RGB(255, 255, 255), pixelAt(3, 5 + 21, 11));

    // Words in any order: both channels with "news" and "sport"; the first letter typed into the
    // list moves to the search field. Up and Down stay off while the rows are filtered.
    Type(list, L"n");
    Type(search, L"ews sport");
    EXPECT_TRUE(WaitFor([&] { return FieldText(search) == L"news sport"; }, 5000));
    EXPECT_EQ(2, count(list));
    ASSERT_TRUE(SelectRows(list, {1}));
    EXPECT_FALSE(IsWindowEnabled(up));
    EXPECT_FALSE(IsWindowEnabled(down));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(editor, IDC_CHANNEL_REMOVE)));
    // Escape clears the search and selects the first row of the whole list.
    PostMessageW(search, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitFor([&] { return count(list) == 12 && SelectedRows(list) == std::vector<int>{0}; }, 5000));
    EXPECT_TRUE(WaitFor([&] { return FieldText(search) == L"type search here"; }, 5000));

    // Up: the run from the top stays, Sport News Extra passes Delta. Down: the run at the bottom
    // stays, Epsilon passes Zeta.
    // (Up is off while the first row is selected: the command comes from the keyboard's way.)
    ASSERT_TRUE(SelectRows(list, {1, 4}));
    EXPECT_TRUE(IsWindowEnabled(up));
    ASSERT_TRUE(SelectRows(list, {0, 1, 4}));
    EXPECT_FALSE(IsWindowEnabled(up));
    ASSERT_TRUE(Send(editor, WM_COMMAND, MAKEWPARAM(IDC_CHANNEL_UP, BN_CLICKED), reinterpret_cast<LPARAM>(up)));
    EXPECT_EQ((std::vector<int>{0, 1, 3}), SelectedRows(list));
    ASSERT_TRUE(SelectRows(list, {5, 10, 11}));
    ASSERT_TRUE(Click(down));
    EXPECT_EQ((std::vector<int>{6, 10, 11}), SelectedRows(list));
    channels[4].channel = 3;
    channels[3].channel = 4;
    channels[5].channel = 6;
    channels[6].channel = 5;

    // Rows now: Alpha, Beta Sport, News Sport, Sport News Extra, Delta, Zeta, Epsilon, Eta, Theta...
    // Removing Zeta, Epsilon and Theta: Theta goes, the question about Epsilon's recording is
    // answered No and the removal stops there.
    ASSERT_TRUE(SelectRows(list, {5, 6, 8}));
    PostMessageW(GetDlgItem(editor, IDC_CHANNEL_REMOVE), BM_CLICK, 0, 0);
    HWND question = WaitForWindowTitled(L"Notice");
    ASSERT_NE(nullptr, question);
    std::wstring asked;
    EnumChildWindows(question, [](HWND child, LPARAM lParam) -> BOOL {
        *reinterpret_cast<std::wstring*>(lParam) += WindowText(child) + L"|";
        return TRUE;
    }, reinterpret_cast<LPARAM>(&asked));
    EXPECT_NE(std::wstring::npos, asked.find(L"There is a scheduled recording fo channel \"Epsilon\"")) << asked;
    EXPECT_FALSE(IsWindowEnabled(frame)); // the question is modal to the configurator
    PostMessageW(GetDlgItem(question, IDNO), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(question); }));
    EXPECT_EQ(11, count(list));
    EXPECT_EQ((std::vector<int>{5}), SelectedRows(list));
    // Epsilon alone, answered Yes: it goes with its recording.
    ASSERT_TRUE(SelectRows(list, {6}));
    PostMessageW(GetDlgItem(editor, IDC_CHANNEL_REMOVE), BM_CLICK, 0, 0);
    question = WaitForWindowTitled(L"Notice");
    ASSERT_NE(nullptr, question);
    PostMessageW(GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(question); }));
    EXPECT_EQ(10, count(list));
    EXPECT_EQ((std::vector<int>{6}), SelectedRows(list));
    channels.erase(channels.begin() + 8); // Theta
    channels.erase(channels.begin() + 5); // Epsilon
    // The TV channels are numbered by their places again, without gaps.
    std::vector<CChannel*> tv;
    for (CChannel& c : channels) {
        if (c.tsid == 1)
            tv.push_back(&c);
    }
    std::sort(tv.begin(), tv.end(), [](const CChannel* a, const CChannel* b) { return a->channel < b->channel; });
    for (size_t i = 0; i < tv.size(); ++i)
        tv[i]->channel = static_cast<int>(i);

    // The favourite column: Eta (row 6) stops being one, Alpha (row 0) becomes the last.
    for (int row : {6, 0}) {
        ASSERT_TRUE(Send(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE));
        RECT cell = CellOf(list, row, 3);
        const LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
        ASSERT_TRUE(Send(list, WM_LBUTTONDOWN, MK_LBUTTON, at));
        ASSERT_TRUE(Send(list, WM_LBUTTONUP, 0, at));
    }
    // Favourites: Sport News Extra 0, News Sport 1, Iota 2, Alpha 3.
    channels[6].favourite = -1; // Eta
    channels[7].favourite = 2;  // Iota
    channels[0].favourite = 3;  // Alpha

    // The favourites page: a phrase, not words.
    ASSERT_TRUE(Send(pages, WM_KEYDOWN, VK_DOWN));
    ASSERT_TRUE(Send(pages, WM_KEYDOWN, VK_DOWN));
    HWND favourites = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (favourites = ShownPageWith(form, IDC_FAVOURITE_REMOVE)) != nullptr; }, 5000));
    HWND favouriteList = GetDlgItem(favourites, IDC_FAVOURITE_LIST);
    HWND favouriteSearch = GetDlgItem(favourites, IDC_FAVOURITE_SEARCH);
    EXPECT_EQ(4, count(favouriteList));
    Type(favouriteList, L"news sport");
    EXPECT_TRUE(WaitFor([&] { return FieldText(favouriteSearch) == L"news sport"; }, 5000));
    EXPECT_EQ(1, count(favouriteList));
    // Delete in the search field edits the text, it does not remove the favourite.
    PostMessageW(favouriteSearch, WM_KEYDOWN, VK_DELETE, 0);
    PostMessageW(favouriteSearch, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitFor([&] { return count(favouriteList) == 4; }, 5000));
    // Delete in the list removes the selected favourite (row 0 after Escape); the rest are
    // numbered again. Then Iota moves below Alpha.
    PostMessageW(favouriteList, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_TRUE(WaitFor([&] { return count(favouriteList) == 3; }, 5000));
    ASSERT_TRUE(SelectRows(favouriteList, {1}));
    ASSERT_TRUE(Click(GetDlgItem(favourites, IDC_FAVOURITE_DOWN)));
    EXPECT_EQ((std::vector<int>{2}), SelectedRows(favouriteList));
    channels[4].favourite = -1; // Sport News Extra
    channels[2].favourite = 0;  // News Sport
    channels[0].favourite = 1;  // Alpha
    channels[7].favourite = 2;  // Iota

    // Apply: the channel file as expected, Epsilon's job deleted, Zeta's kept.
    ASSERT_TRUE(Click(GetDlgItem(form, IDC_APPLY)));
    m_description = Describe(channels);
    EXPECT_EQ(0, RunPeer("check"));
    ITask* gone = test::OpenJob(scheduler, epsilonJob);
    EXPECT_EQ(nullptr, gone);
    if (gone)
        gone->Release();
    ITask* kept = test::OpenJob(scheduler, zetaJob);
    ASSERT_NE(nullptr, kept);
    kept->Release();
    scheduler->Delete(zetaJob.c_str());
    scheduler->Release();
    ASSERT_TRUE(Click(GetDlgItem(form, IDC_CANCEL)));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m_process, kWait));
}

// The user's time format without seconds, as the recording texts use it.
std::wstring ShortTime(WORD hour, WORD minute)
{
    wchar_t format[100] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, format, 100);
    std::wstring shortened = format;
    const size_t seconds = shortened.find(L"ss");
    if (seconds != std::wstring::npos && seconds > 0)
        shortened.erase(seconds - 1, 3);
    SYSTEMTIME time = {};
    time.wYear = 2031;
    time.wMonth = 3;
    time.wDay = 14;
    time.wHour = hour;
    time.wMinute = minute;
    wchar_t text[100] = {};
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, shortened.c_str(), text, 100);
    return text;
}

TEST_F(PlintorProgramTest, SchedulerAndRecordingDialog)
{
    m_description = Describe({{3, 1, 1, 0, -1, "One", 0, ""}, {3, 2, 1, 1, 0, "Two", 0, ""}});
    ASSERT_EQ(0, RunPeer("write"));
    test::CComApartment com;
    ITaskScheduler* scheduler = test::OpenScheduler();
    ASSERT_NE(nullptr, scheduler);
    const std::wstring stem = std::to_wstring(GetTickCount64()) + L"_" + std::to_wstring(GetCurrentProcessId());
    CJobSpec future = { test::UniqueJobName(L"future"), L"/rec 3 1 45 0 C:\\a.ts" };
    future.comment = L"future " + stem;
    CJobSpec past = { test::UniqueJobName(L"past"), L"/rec 3 1 45 0 C:\\b.ts" };
    past.comment = L"past " + stem;
    past.year = 2020;
    CJobSpec weekly = { test::UniqueJobName(L"weekly"), L"/rec 3 2 45 0 C:\\c.ts", true, TASK_TIME_TRIGGER_WEEKLY, 2 };
    weekly.comment = L"weekly " + stem;
    CJobSpec gone = { test::UniqueJobName(L"gone"), L"/rec 9 9 45 0 C:\\g.ts" };
    gone.comment = L"gone " + stem;
    for (const CJobSpec* spec : { &future, &past, &weekly, &gone })
        MakeJob(scheduler, *spec);

    HWND frame = Start();
    ASSERT_NE(nullptr, frame);
    HWND form = GetDlgItem(frame, AFX_IDW_PANE_FIRST);
    HWND pages = GetDlgItem(form, IDC_PAGE_LIST);
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(Send(pages, WM_KEYDOWN, VK_DOWN));
    HWND page = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (page = ShownPageWith(form, IDC_SCHEDULER_EDIT)) != nullptr; }, 5000));
    HWND list = GetDlgItem(page, IDC_SCHEDULER_LIST);
    const int futureRow = RowWith(list, future.comment);
    const int pastRow = RowWith(list, past.comment);
    const int weeklyRow = RowWith(list, weekly.comment);
    ASSERT_GE(futureRow, 0);
    ASSERT_GE(pastRow, 0);
    ASSERT_GE(weeklyRow, 0);
    wchar_t date[100] = {};
    SYSTEMTIME day{};
    day.wYear = 2031;
    day.wMonth = 3;
    day.wDay = 14;
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &day, nullptr, date, 100);
    EXPECT_EQ(std::wstring(date) + L" " + ShortTime(20, 15) + L" - " + ShortTime(21, 0), RowText(list, futureRow, 1));
    EXPECT_EQ(L"once", RowText(list, futureRow, 2));
    EXPECT_EQ(L"Never", RowText(list, pastRow, 1));
    EXPECT_EQ(L"weekly", RowText(list, weeklyRow, 2));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_SCHEDULER_EDIT)));

    // Remove marks the past one deleted at once.
    ASSERT_TRUE(SelectRows(list, {pastRow}));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_SCHEDULER_EDIT)));
    LRESULT before = 0, after = 0;
    Send(list, LVM_GETITEMCOUNT, 0, 0, &before);
    ASSERT_TRUE(Click(GetDlgItem(page, IDC_SCHEDULER_REMOVE)));
    Send(list, LVM_GETITEMCOUNT, 0, 0, &after);
    EXPECT_EQ(before - 1, after);
    EXPECT_EQ(-1, RowWith(list, past.comment));

    // Edit the future one (simple: its creator is no "A"): 23:30 to 00:30 is one hour.
    ASSERT_TRUE(SelectRows(list, {RowWith(list, future.comment)}));
    PostMessageW(GetDlgItem(page, IDC_SCHEDULER_EDIT), BM_CLICK, 0, 0);
    HWND dialog = WaitForWindowTitled(L"Add scheduled recording");
    ASSERT_NE(nullptr, dialog);
    EXPECT_FALSE(IsWindowEnabled(frame)); // modal to the configurator
    RECT size;
    GetWindowRect(dialog, &size);
    EXPECT_EQ(286, size.right - size.left);
    EXPECT_EQ(310, size.bottom - size.top);
    EXPECT_EQ(L"1000. One", FieldText(GetDlgItem(dialog, IDC_EVENT_CHANNEL)));
    ASSERT_TRUE(SetPicker(GetDlgItem(dialog, IDC_EVENT_DATE), 2031, 3, 14, 0, 0));
    ASSERT_TRUE(SetPicker(GetDlgItem(dialog, IDC_EVENT_START), 2031, 3, 14, 23, 30));
    ASSERT_TRUE(SetPicker(GetDlgItem(dialog, IDC_EVENT_END), 2031, 3, 14, 0, 30));
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(frame) != FALSE; }));

    // A recording of a channel the list no longer has cannot be confirmed until a source is chosen.
    ASSERT_TRUE(SelectRows(list, {RowWith(list, gone.comment)}));
    PostMessageW(GetDlgItem(page, IDC_SCHEDULER_EDIT), BM_CLICK, 0, 0);
    dialog = WaitForWindowTitled(L"Add scheduled recording");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(L"Channel no longer available", FieldText(GetDlgItem(dialog, IDC_EVENT_CHANNEL)));
    ASSERT_TRUE(Click(GetDlgItem(dialog, IDOK)));
    EXPECT_TRUE(IsWindowVisible(dialog));
    ASSERT_TRUE(Click(GetDlgItem(dialog, IDC_EVENT_TV)));
    EXPECT_EQ(L"1000. One", FieldText(GetDlgItem(dialog, IDC_EVENT_CHANNEL)));
    PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));

    // Add, advanced: weekly without a weekday stays open; every 3 weeks on Sunday and Thursday,
    // equal times (a whole day), closing the viewer after it, into a dotted folder.
    PostMessageW(GetDlgItem(page, IDC_SCHEDULER_ADD), BM_CLICK, 0, 0);
    dialog = WaitForWindowTitled(L"Add scheduled recording");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(L"1. Two", FieldText(GetDlgItem(dialog, IDC_EVENT_CHANNEL)));
    ASSERT_TRUE(Click(GetDlgItem(dialog, IDC_EVENT_LAYOUT)));
    GetWindowRect(dialog, &size);
    EXPECT_EQ(649, size.right - size.left);
    EXPECT_EQ(L"<< Simple", WindowText(GetDlgItem(dialog, IDC_EVENT_LAYOUT)));
    HWND repeat = GetDlgItem(dialog, IDC_EVENT_REPEAT);
    ASSERT_TRUE(Send(repeat, CB_SETCURSEL, 2));
    ASSERT_TRUE(Send(dialog, WM_COMMAND, MAKEWPARAM(IDC_EVENT_REPEAT, CBN_SELCHANGE), reinterpret_cast<LPARAM>(repeat)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_EVENT_THURSDAY)));
    const int days[] = {IDC_EVENT_SUNDAY, IDC_EVENT_MONDAY, IDC_EVENT_TUESDAY, IDC_EVENT_WEDNESDAY, IDC_EVENT_THURSDAY,
                         IDC_EVENT_FRIDAY, IDC_EVENT_SATURDAY};
    for (int id : days)
        ASSERT_TRUE(Send(GetDlgItem(dialog, id), BM_SETCHECK, BST_UNCHECKED));
    ASSERT_TRUE(Click(GetDlgItem(dialog, IDOK)));
    EXPECT_TRUE(IsWindowVisible(dialog));
    ASSERT_TRUE(Send(GetDlgItem(dialog, IDC_EVENT_SUNDAY), BM_SETCHECK, BST_CHECKED));
    ASSERT_TRUE(Send(GetDlgItem(dialog, IDC_EVENT_THURSDAY), BM_SETCHECK, BST_CHECKED));
    ASSERT_TRUE(Send(GetDlgItem(dialog, IDC_EVENT_CLOSE_AFTER), BM_SETCHECK, BST_CHECKED));
    EXPECT_EQ(L"week", WindowText(GetDlgItem(dialog, IDC_EVENT_UNIT)));
    // The up-down's arrow keys in its field step the interval (a notification cannot be sent from
    // another process).
    for (int step = 0; step < 2; ++step)
        ASSERT_TRUE(Send(GetDlgItem(dialog, IDC_EVENT_INTERVAL), WM_KEYDOWN, VK_UP));
    EXPECT_EQ(L"3", FieldText(GetDlgItem(dialog, IDC_EVENT_INTERVAL)));
    EXPECT_EQ(L"weeks", WindowText(GetDlgItem(dialog, IDC_EVENT_UNIT)));
    ASSERT_TRUE(SetPicker(GetDlgItem(dialog, IDC_EVENT_DATE), 2031, 3, 14, 0, 0));
    ASSERT_TRUE(SetPicker(GetDlgItem(dialog, IDC_EVENT_START), 2031, 3, 14, 10, 0));
    ASSERT_TRUE(SetPicker(GetDlgItem(dialog, IDC_EVENT_END), 2031, 3, 14, 10, 0));
    // The save dialog opens and, cancelled, leaves the path as it was.
    const wchar_t path[] = L"C:\\rec dir.v2\\My show";
    ASSERT_TRUE(Send(GetDlgItem(dialog, IDC_EVENT_PATH), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path)));
    PostMessageW(GetDlgItem(dialog, IDC_EVENT_BROWSE), BM_CLICK, 0, 0);
    HWND save = nullptr;
    EXPECT_TRUE(WaitFor([&] {
        FindWindowOf find = { GetProcessId(m_process), nullptr };
        EnumWindows([](HWND hwnd, LPARAM lParam) -> BOOL {
            auto* f = reinterpret_cast<FindWindowOf*>(lParam);
            DWORD process = 0;
            GetWindowThreadProcessId(hwnd, &process);
            if (process == f->process && IsWindowVisible(hwnd) && GetWindow(hwnd, GW_OWNER) != nullptr &&
                GetDlgItem(hwnd, IDC_EVENT_LAYOUT) == nullptr) {
                f->found = hwnd;
                return FALSE;
            }
            return TRUE;
        }, reinterpret_cast<LPARAM>(&find));
        save = find.found;
        return save != nullptr;
    }));
    if (save) {
        PostMessageW(save, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(save); }));
    }
    EXPECT_EQ(path, FieldText(GetDlgItem(dialog, IDC_EVENT_PATH)));
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
    const int added = RowWith(list, L"My show"); // the file's name without the dotted folder
    EXPECT_GE(added, 0);
    EXPECT_EQ(L"weekly", RowText(list, added, 2));

    // Apply writes the jobs; this process reads them back.
    ASSERT_TRUE(Click(GetDlgItem(form, IDC_APPLY)));
    EXPECT_EQ(nullptr, test::OpenJob(scheduler, past.name));
    auto check = [&](const std::wstring& name, const std::wstring& parameters, const std::wstring& creator,
                     WORD hour, WORD minute, DWORD minutes, TASK_TRIGGER_TYPE type) {
        ITask* job = test::OpenJob(scheduler, name);
        ASSERT_NE(nullptr, job) << name;
        EXPECT_EQ(m_folder + L"Tolvik.exe", test::JobText([job](LPWSTR* t) { return job->GetApplicationName(t); }));
        EXPECT_EQ(parameters, test::JobText([job](LPWSTR* t) { return job->GetParameters(t); }));
        EXPECT_EQ(creator, test::JobText([job](LPWSTR* t) { return job->GetCreator(t); }));
        ITaskTrigger* trigger = nullptr;
        ASSERT_EQ(S_OK, job->GetTrigger(0, &trigger));
        TASK_TRIGGER values = {};
        values.cbTriggerSize = sizeof(values);
        ASSERT_EQ(S_OK, trigger->GetTrigger(&values));
        EXPECT_EQ(2031, values.wBeginYear);
        EXPECT_EQ(3, values.wBeginMonth);
        EXPECT_EQ(14, values.wBeginDay);
        EXPECT_EQ(hour, values.wStartHour);
        EXPECT_EQ(minute, values.wStartMinute);
        EXPECT_EQ(minutes, values.MinutesDuration);
        EXPECT_EQ(type, values.TriggerType);
        if (type == TASK_TIME_TRIGGER_WEEKLY) {
            EXPECT_EQ(3, values.Type.Weekly.WeeksInterval);
            EXPECT_EQ(TASK_SUNDAY | TASK_THURSDAY, values.Type.Weekly.rgfDaysOfTheWeek);
        }
        trigger->Release();
        job->Release();
        scheduler->Delete(name.c_str());
    };
    // Edited in the simple layout, the record keeps its file.
    check(future.name, L"/rec 3 1 60 0 C:\\a.ts", L"S", 23, 30, 60, TASK_TIME_TRIGGER_ONCE);
    std::wstring addedName;
    IEnumWorkItems* items = nullptr;
    ASSERT_EQ(S_OK, scheduler->Enum(&items));
    LPWSTR* names = nullptr;
    ULONG fetched = 0;
    while (items->Next(1, &names, &fetched) == S_OK && fetched == 1) {
        std::wstring name = names[0];
        CoTaskMemFree(names[0]);
        CoTaskMemFree(names);
        if (name.size() > 4 && name.compare(name.size() - 4, 4, L".job") == 0)
            name.resize(name.size() - 4);
        ITask* job = test::OpenJob(scheduler, name);
        if (job && test::JobText([job](LPWSTR* t) { return job->GetComment(t); }) == L"My show")
            addedName = name;
        if (job)
            job->Release();
    }
    items->Release();
    ASSERT_EQ(0u, addedName.rfind(L"QORSR_", 0)) << addedName;
    check(addedName, L"/rec 3 2 1440 1 \"C:\\rec dir.v2\\My show\"", L"A", 10, 0, 1440, TASK_TIME_TRIGGER_WEEKLY);
    ITask* cancelled = test::OpenJob(scheduler, gone.name); // as it was
    ASSERT_NE(nullptr, cancelled);
    EXPECT_EQ(gone.parameters, test::JobText([cancelled](LPWSTR* t) { return cancelled->GetParameters(t); }));
    cancelled->Release();
    scheduler->Delete(gone.name.c_str());
    scheduler->Delete(weekly.name.c_str());
    scheduler->Release();
    ASSERT_TRUE(Click(GetDlgItem(form, IDC_CANCEL)));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m_process, kWait));
}

} // namespace
