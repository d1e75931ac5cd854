// The whole update exchange under Wine against the test's python3 update script on
// 127.0.0.1:80, with the form replaced by a recorder: the good update (headers, login hash
// checked with hashlib, download, setup run, version recorded, opcode 7, the viewer beside the
// program started, the setup file gone) and every way it must leave "Tolvik 1.0" alone and the
// setup unrun.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "UpdateServer.h"
#include "brenvo/win/CUpdateExchange.h"
#include "brenvo/win/CbrenvoSetting.h"
#include "brenvo/win/RunAndWait.h"
#include "support/TestMedia.h"

namespace {

struct RecordingUi : CUpdateUi {
    std::vector<std::string> statuses, messages;
    std::vector<int> positions;
    int downloadShown = 0, downloadHidden = 0, quits = 0;
    void ShowStatus(const char* text) override { statuses.push_back(text); }
    void ShowMessage(const char* text) override { messages.push_back(text); }
    void ShowDownload(bool shown) override { ++(shown ? downloadShown : downloadHidden); }
    void SetProgress(int position) override { positions.push_back(position); }
    void Quit() override { ++quits; }
};

const char* const kAccount = "a b&c=d#e\xE1"; // 0xE1: "a acute" in the Western ANSI code page

class UpdateExchange : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_server = new test::CUpdateServer("brenvo_exchange", 80);
        ASSERT_TRUE(s_server->Start()) << test::ReadText(s_server->WindowsPath("server.log"));
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
    }
    void TearDown() override { test::ClearSettings(); }

    // The scenario's JSON with the server's defaults for what it leaves out.
    void Scenario(const std::string& extra)
    {
        std::string setup = test::UnixFromWindows(FAKE_SETUP_PATH);
        s_server->SetScenario("{\"challenge\": \"7f3a\", \"account\": \"a b&c=d#e\\u00e1\", \"password\": \"p w\","
                              " \"versions\": \"12,1,2007-2-1,New build\\r\\n11,0,2006-12-24,Older\\r\\n\","
                              " \"setup\": \"" + setup + "\"" + (extra.empty() ? "" : ", " + extra) + "}");
    }

    void Check(RecordingUi& ui, const char* password = "p w")
    {
        CUpdateExchange exchange(ui);
        exchange.OnCheckForUpdates(kAccount, password);
    }

    int CountOpcode(const std::string& opcode)
    {
        int count = 0;
        for (const std::string& line : s_server->Requests())
            count += line.find("\"opcode\": \"" + opcode + "\"") != std::string::npos;
        return count;
    }

    // Nothing installed: the id as it was, the setup unrun and gone, the viewer not started.
    void ExpectUntouched(const RecordingUi& ui)
    {
        EXPECT_EQ(test::InstalledId(), 11u);
        EXPECT_FALSE(test::FileExists(m_setupMarker));
        EXPECT_FALSE(test::FileExists(SetupFilePath().Str()));
        EXPECT_FALSE(test::FileExists(m_viewerMarker));
        EXPECT_EQ(ui.quits, 0);
        EXPECT_EQ(CountOpcode("7"), 0);
    }

    static test::CUpdateServer* s_server;
    std::string m_setupMarker, m_viewerMarker;
};

test::CUpdateServer* UpdateExchange::s_server = nullptr;

// On a fresh system (no settings key but the host) the update installs and is recorded.
TEST_F(UpdateExchange, GoodUpdateInstallsRecordsAndStartsTheViewer)
{
    Scenario("");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kBrenvoSettingsKey, "Tolvik 1.0");
    RecordingUi ui;
    Check(ui);
    EXPECT_EQ(ui.statuses, (std::vector<std::string>{kUpdateFinished}));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.quits, 1);
    EXPECT_EQ(test::InstalledId(), 12u);
    EXPECT_EQ(test::ReadText(m_setupMarker), "setup ran\n");
    EXPECT_FALSE(test::FileExists(SetupFilePath().Str()));
    ASSERT_FALSE(ui.positions.empty());
    EXPECT_EQ(ui.positions.back(), 100);
    for (size_t i = 1; i < ui.positions.size(); ++i)
        EXPECT_LE(ui.positions[i - 1], ui.positions[i]);
    EXPECT_EQ(ui.downloadShown, 1);
    EXPECT_EQ(ui.downloadHidden, 1);
    // The viewer beside the program, by full path.
    ASSERT_TRUE(test::WaitUntil([&] { return test::FileExists(m_viewerMarker); }, 20000));
    EXPECT_EQ(test::ReadText(m_viewerMarker), ProgramFolder().Str() + "Tolvik.exe\n");

    // Every request carried the headers (the server refuses others) and the login hash proved the
    // password (a wrong one gets 403); the account arrived whole.
    const std::vector<std::string> requests = s_server->Requests();
    ASSERT_EQ(requests.size(), 5u);
    const char* const opcodes[] = {"0", "1", "3", "5", "7"};
    for (size_t i = 0; i < requests.size(); ++i) {
        EXPECT_NE(requests[i].find("\"opcode\": \"" + std::string(opcodes[i]) + "\""), std::string::npos) << requests[i];
        EXPECT_NE(requests[i].find("\"agent\": \"Harvo-Update\", \"accept\": \"text/*\""), std::string::npos)
            << requests[i];
    }
    EXPECT_NE(requests[1].find("\"login\": \"a b&c=d#e\\u00e1\""), std::string::npos) << requests[1];
    EXPECT_NE(requests[3].find("\"versionID\": \"12\""), std::string::npos) << requests[3];
}

TEST_F(UpdateExchange, BrokenDownloadsRunNothing)
{
    for (const char* mode : {"short", "chunked", "nolength"}) {
        SCOPED_TRACE(mode);
        Scenario(std::string("\"download\": \"") + mode + "\"");
        test::SetInstalledId(11);
        RecordingUi ui;
        Check(ui);
        EXPECT_EQ(ui.statuses, (std::vector<std::string>{kUpdateFailed}));
        EXPECT_EQ(CountOpcode("5"), 1);
        ExpectUntouched(ui);
    }
}

TEST_F(UpdateExchange, RefusalsAndWrongLoginShowTheContactMessage)
{
    for (const char* opcode : {"0", "1", "5"}) {
        for (const char* status : {"404", "500"}) {
            SCOPED_TRACE(std::string(opcode) + " " + status);
            Scenario(std::string("\"status\": {\"") + opcode + "\": " + status + "}");
            test::SetInstalledId(11);
            RecordingUi ui;
            Check(ui);
            EXPECT_EQ(ui.statuses, (std::vector<std::string>{kCannotContact}));
            ExpectUntouched(ui);
        }
    }
    Scenario("");
    test::SetInstalledId(11);
    RecordingUi wrong;
    Check(wrong, "not the password");
    EXPECT_EQ(wrong.statuses, (std::vector<std::string>{kCannotContact}));
    EXPECT_EQ(CountOpcode("3"), 0);
    ExpectUntouched(wrong);
}

// A first line that cannot be read ends the check: the line behind it is no stand-in for the newest.
TEST_F(UpdateExchange, NothingNewOrNothingReadable)
{
    const struct {
        const char* name;
        const char* versions;
        const char* status;
    } lists[] = {
        {"garbage", "\"versions\": \"<html>garbage</html>\\r\\nabc,1,2007-2-1,x\\r\\n,,,\\r\\n\"", kCannotContact},
        {"no fields", "\"versions\": \",,,\\r\\n10,0,2006-12-24,Older\\r\\n\"", kCannotContact},
        {"empty", "\"versions\": \"\"", kNoUpdates},
        {"installed", "\"versions\": \"11,1,2007-2-1,Same\\r\\n12,1,2007-3-1,Later line\\r\\n\"", kNoUpdates},
    };
    for (const auto& list : lists) {
        SCOPED_TRACE(list.name);
        Scenario(list.versions);
        test::SetInstalledId(11);
        RecordingUi ui;
        Check(ui);
        EXPECT_EQ(ui.statuses, (std::vector<std::string>{list.status}));
        EXPECT_EQ(CountOpcode("5"), 0);
        ExpectUntouched(ui);
    }
}

// A first line of five or of three fields still names the newest; the older build behind it is
// not installed.
TEST_F(UpdateExchange, AFirstLineOfFiveOrThreeFieldsIsTheNewest)
{
    for (const char* first : {"12,1,2007-2-1,New,build", "12,1,2007-2-1"}) {
        SCOPED_TRACE(first);
        s_server->PrepareRun();
        Scenario(std::string("\"versions\": \"") + first + "\\r\\n10,0,2006-12-24,Older\\r\\n\"");
        test::SetInstalledId(11);
        RecordingUi ui;
        Check(ui);
        EXPECT_EQ(ui.statuses, (std::vector<std::string>{kUpdateFinished}));
        EXPECT_EQ(test::InstalledId(), 12u);
        const std::vector<std::string> requests = s_server->Requests();
        const auto download = std::find_if(requests.begin(), requests.end(), [](const std::string& r) {
            return r.find("\"opcode\": \"5\"") != std::string::npos;
        });
        ASSERT_NE(download, requests.end());
        EXPECT_NE(download->find("\"versionID\": \"12\""), std::string::npos) << *download;
        // The viewer it starts has written its marker before the next run clears it.
        EXPECT_TRUE(test::WaitUntil([&] { return test::FileExists(m_viewerMarker); }, 20000));
    }
}

TEST_F(UpdateExchange, FailingSetupAndUnwritableFileRecordNothing)
{
    Scenario("");
    test::SetInstalledId(11);
    SetEnvironmentVariableA("TOLVIK_SETUP_EXIT", "1");
    RecordingUi failing;
    Check(failing);
    EXPECT_EQ(failing.statuses, (std::vector<std::string>{kUpdateFailed}));
    EXPECT_EQ(test::ReadText(m_setupMarker), "setup ran\n"); // it ran, and nothing was recorded
    DeleteFileA(m_setupMarker.c_str());
    ExpectUntouched(failing);

    // The temporary folder cannot hold the file.
    char temporary[MAX_PATH] = {};
    GetEnvironmentVariableA("TMP", temporary, MAX_PATH);
    SetEnvironmentVariableA("TMP", "Z:\\no\\such\\folder");
    SetEnvironmentVariableA("TOLVIK_SETUP_EXIT", "0");
    RecordingUi unwritable;
    Check(unwritable);
    SetEnvironmentVariableA("TMP", temporary[0] ? temporary : nullptr);
    EXPECT_EQ(unwritable.messages, (std::vector<std::string>{kErrorWritingFile}));
    EXPECT_EQ(unwritable.statuses, (std::vector<std::string>{kUpdateFailed}));
    ExpectUntouched(unwritable);
}

TEST_F(UpdateExchange, NothingListening)
{
    test::SetInstalledId(11);
    RecordingUi ui;
    CUpdateExchange exchange(ui, 81);
    exchange.OnCheckForUpdates(kAccount, "p w");
    EXPECT_EQ(ui.statuses, (std::vector<std::string>{kCannotContact}));
    ExpectUntouched(ui);
}

} // namespace
