// The real brenvo.exe, copied into a folder of its own beside a stub viewer, driven through its
// form against the test's python3 update script on 127.0.0.1:80: a full update, a body cut off,
// a server that is not there (the program goes on), and the viewer's mutex held.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "UpdateServer.h"
#include "framework/win/CView.h"
#include "resource.h"
#include "support/TestMedia.h"

namespace {

const char* const kSettingsKey = "Software\\Harvo\\brenvo\\Settings";
const wchar_t* const kMutexName = L"Harvo QOR Mutex {196AA390-851E-4e3b-B3CA-16C58E83CE82}";

struct FindData {
    DWORD process;
    const char* title;
    HWND found;
};

// A visible top-level window of process with the title.
HWND FindProcessWindow(DWORD process, const char* title)
{
    FindData data = {process, title, nullptr};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* data = reinterpret_cast<FindData*>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            char text[256] = {};
            GetWindowTextA(window, text, sizeof text);
            if (owner == data->process && IsWindowVisible(window) && std::string(text) == data->title) {
                data->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&data));
    return data.found;
}

std::string ControlText(HWND control)
{
    char text[512] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 10000, &ignored);
    return text;
}

class BrenvoProgram : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_server = new test::CUpdateServer("brenvo_program", 80);
        ASSERT_TRUE(s_server->Start()) << test::ReadText(s_server->WindowsPath("server.log"));
        // The program and the stub viewer in a folder of their own.
        s_folder = s_server->WindowsPath("program");
        CreateDirectoryA(s_folder.c_str(), nullptr);
        ASSERT_TRUE(CopyFileA(test::ProgramPath("brenvo.exe").c_str(), (s_folder + "\\brenvo.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(STUB_VIEWER_PATH, (s_folder + "\\Tolvik.exe").c_str(), FALSE));
    }
    static void TearDownTestSuite()
    {
        delete s_server;
        s_server = nullptr;
    }

    void SetUp() override
    {
        s_server->PrepareRun();
        m_setupMarker = s_server->SetupMarker();
        m_viewerMarker = s_server->ViewerMarker();
        s_server->SetScenario("{\"challenge\": \"c0ffee\", \"account\": \"a b&c=d#e\\u00e1\", \"password\": \"pw\","
                              " \"versions\": \"12,1,2007-2-1,New build\\r\\n\", \"setup\": \"" +
                              test::UnixFromWindows(FAKE_SETUP_PATH) + "\"" + m_extra + "}");
    }
    void TearDown() override
    {
        if (m_process.hProcess) {
            if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(m_process.hProcess, 1);
                WaitForSingleObject(m_process.hProcess, 10000);
            }
            CloseHandle(m_process.hThread);
            CloseHandle(m_process.hProcess);
        }
        test::ClearSettings();
    }

    bool Start()
    {
        std::string command = "\"" + s_folder + "\\brenvo.exe\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        return CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, s_folder.c_str(), &startup,
                              &m_process);
    }
    HWND WaitForWindow(const char* title)
    {
        HWND window = nullptr;
        test::WaitUntil([&] { return (window = FindProcessWindow(m_process.dwProcessId, title)) != nullptr; }, 30000);
        return window;
    }
    bool Ended(DWORD& code)
    {
        if (WaitForSingleObject(m_process.hProcess, 60000) != WAIT_OBJECT_0)
            return false;
        GetExitCodeProcess(m_process.hProcess, &code);
        return true;
    }
    // Types the account into the form and clicks "Check for updates"; the form's control.
    HWND CheckForUpdates(HWND frame, const wchar_t* account, const wchar_t* password)
    {
        HWND form = GetDlgItem(frame, AFX_IDW_PANE_FIRST);
        EXPECT_TRUE(form);
        SetWindowTextW(GetDlgItem(form, IDC_ACCOUNT), account);
        SetWindowTextW(GetDlgItem(form, IDC_PASSWORD), password);
        PostMessageW(form, WM_COMMAND, MAKEWPARAM(IDC_CHECK_FOR_UPDATES, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(form, IDC_CHECK_FOR_UPDATES)));
        return form;
    }

    static test::CUpdateServer* s_server;
    static std::string s_folder;
    std::string m_extra;
    std::string m_setupMarker, m_viewerMarker;
    PROCESS_INFORMATION m_process = {};
};

test::CUpdateServer* BrenvoProgram::s_server = nullptr;
std::string BrenvoProgram::s_folder;

TEST_F(BrenvoProgram, FullUpdate)
{
    ASSERT_TRUE(Start());
    HWND frame = WaitForWindow("Brenvo");
    ASSERT_TRUE(frame);
    HWND form = GetDlgItem(frame, AFX_IDW_PANE_FIRST);
    ASSERT_TRUE(form);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(form, IDC_STATUS)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(form, IDC_PROGRESS)));
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(form, IDC_PASSWORD), GWL_STYLE) & ES_PASSWORD);
    EXPECT_FALSE(GetWindowLongW(frame, GWL_STYLE) & WS_MAXIMIZEBOX);
    EXPECT_FALSE(GetMenu(frame));

    CheckForUpdates(frame, L"a b&c=d#e\u00e1", L"pw");
    DWORD code = 1;
    ASSERT_TRUE(Ended(code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(test::InstalledId(), 12u);
    EXPECT_EQ(test::ReadText(m_setupMarker), "setup ran\n");
    ASSERT_TRUE(test::WaitUntil([&] { return test::FileExists(m_viewerMarker); }, 20000));
    EXPECT_EQ(test::ReadText(m_viewerMarker), s_folder + "\\Tolvik.exe\n");
    char temporary[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temporary, temporary);
    EXPECT_FALSE(test::FileExists(std::string(temporary) + "HarvoUpdate.exe"));
    const auto requests = s_server->Requests();
    ASSERT_EQ(requests.size(), 5u);
    EXPECT_NE(requests[1].find("\"login\": \"a b&c=d#e\\u00e1\""), std::string::npos) << requests[1];
    EXPECT_NE(requests[4].find("\"opcode\": \"7\""), std::string::npos) << requests[4];
}

class BrenvoProgramCutOff : public BrenvoProgram {
protected:
    BrenvoProgramCutOff() { m_extra = ", \"download\": \"short\""; }
};

TEST_F(BrenvoProgramCutOff, ShowsUpdateFailedAndKeepsTheInstalledId)
{
    test::SetInstalledId(11);
    ASSERT_TRUE(Start());
    HWND frame = WaitForWindow("Brenvo");
    ASSERT_TRUE(frame);
    HWND form = CheckForUpdates(frame, L"a b&c=d#e\u00e1", L"pw");
    HWND status = GetDlgItem(form, IDC_STATUS);
    EXPECT_TRUE(test::WaitUntil([&] { return ControlText(status) == "Update failed."; }, 30000)) << ControlText(status);
    EXPECT_TRUE(IsWindowVisible(status));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(form, IDC_PROGRESS)));
    EXPECT_EQ(test::InstalledId(), 11u);
    EXPECT_FALSE(test::FileExists(m_setupMarker));
    EXPECT_FALSE(test::FileExists(m_viewerMarker));
    PostMessageW(frame, WM_CLOSE, 0, 0);
    DWORD code = 1;
    ASSERT_TRUE(Ended(code));
}

// Nothing listens on the host: the status says so and the program goes on.
TEST_F(BrenvoProgram, NoServerShowsTheContactMessage)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "UpdateHost", REG_SZ, "127.0.0.2", 10);
    ASSERT_TRUE(Start());
    HWND frame = WaitForWindow("Brenvo");
    ASSERT_TRUE(frame);
    HWND form = CheckForUpdates(frame, L"x", L"y");
    HWND status = GetDlgItem(form, IDC_STATUS);
    EXPECT_TRUE(test::WaitUntil([&] { return ControlText(status) == "Cannot contact update server."; }, 30000))
        << ControlText(status);
    EXPECT_EQ(WaitForSingleObject(m_process.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    PostMessageW(frame, WM_CLOSE, 0, 0);
    DWORD code = 1;
    ASSERT_TRUE(Ended(code));
}

TEST_F(BrenvoProgram, ViewerRunningShowsTheMessageAndEndsWithoutAWindow)
{
    HANDLE mutex = CreateMutexW(nullptr, TRUE, kMutexName);
    ASSERT_TRUE(mutex);
    ASSERT_TRUE(Start());
    HWND box = WaitForWindow("Error");
    ASSERT_TRUE(box);
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgCtrlID(child) == 0xFFFF || ControlText(child).find("Tolvik") != std::string::npos)
            text += ControlText(child);
    EXPECT_NE(text.find("Please close Tolvik before running update.\nUpdate will now exit"), std::string::npos) << text;
    EXPECT_FALSE(FindProcessWindow(m_process.dwProcessId, "Brenvo"));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    DWORD code = 1;
    EXPECT_TRUE(Ended(code));
    CloseHandle(mutex);
    EXPECT_EQ(s_server->Requests().size(), 0u);
}

} // namespace
