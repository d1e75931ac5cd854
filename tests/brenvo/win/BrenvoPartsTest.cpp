// The updater's platform parts under Wine: its settings key on a fresh system, the setup run and
// its exit code, and the HTTP classes against the test's python3 server (lines, lengths, a
// body cut off, a chunked reply, a refused connection).
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "UpdateServer.h"
#include "support/TestMedia.h"
#include "brenvo/DownloadBody.h"
#include "brenvo/win/CbrenvoSetting.h"
#include "brenvo/win/RunAndWait.h"
#include "framework/win/CFile.h"
#include "framework/win/CHttpConnection.h"
#include "framework/win/CHttpFile.h"
#include "framework/win/CInternetSession.h"

namespace {

const int kPort = 8087;

DWORD RegistryId()
{
    DWORD value = 0xFFFFFFFF, size = sizeof(value);
    if (RegGetValueA(HKEY_CURRENT_USER, kBrenvoSettingsKey, "Tolvik 1.0", RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
        return 0xFFFFFFFF;
    return value;
}

// On a fresh system the key does not exist: Save creates it, or no installation is ever recorded.
TEST(BrenvoSetting, SaveCreatesTheKeyAndLoadReadsIt)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Harvo\\brenvo");
    CbrenvoSetting setting;
    setting.m_versionId = 9;
    setting.Load();
    EXPECT_EQ(setting.m_versionId, 9u); // a missing key keeps the id
    EXPECT_EQ(setting.m_valueName.Str(), "Tolvik 1.0");
    EXPECT_EQ(setting.m_host.Str(), "update.harvo.com");
    setting.m_versionId = 42;
    EXPECT_TRUE(setting.Save());
    EXPECT_EQ(RegistryId(), 42u);

    CbrenvoSetting other;
    other.Load();
    EXPECT_EQ(other.m_versionId, 42u);
    // A present key without the value, or with a value of another type: id 0.
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kBrenvoSettingsKey, "Tolvik 1.0");
    other.Load();
    EXPECT_EQ(other.m_versionId, 0u);
    RegSetKeyValueA(HKEY_CURRENT_USER, kBrenvoSettingsKey, "Tolvik 1.0", REG_SZ, "42", 3);
    RegSetKeyValueA(HKEY_CURRENT_USER, kBrenvoSettingsKey, "UpdateHost", REG_SZ, "127.0.0.1", 10);
    other.m_versionId = 5;
    other.Load();
    EXPECT_EQ(other.m_versionId, 0u);
    EXPECT_EQ(other.m_host.Str(), "127.0.0.1");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Harvo\\brenvo");
}

TEST(BrenvoProcess, RunAndWaitGivesTheExitCode)
{
    const std::string marker = test::MediaPath("brenvo_parts_setup.txt");
    DeleteFileA(marker.c_str());
    SetEnvironmentVariableA("TOLVIK_SETUP_MARKER", marker.c_str());
    SetEnvironmentVariableA("TOLVIK_SETUP_EXIT", "0");
    EXPECT_EQ(RunAndWait(FAKE_SETUP_PATH), 0u);
    SetEnvironmentVariableA("TOLVIK_SETUP_EXIT", "3");
    EXPECT_EQ(RunAndWait(FAKE_SETUP_PATH), 3u);
    EXPECT_EQ(test::ReadText(marker), "setup ran\nsetup ran\n");
    EXPECT_EQ(RunAndWait("Z:\\no\\such\\setup.exe"), kRunFailed);
    SetEnvironmentVariableA("TOLVIK_SETUP_MARKER", nullptr);
    SetEnvironmentVariableA("TOLVIK_SETUP_EXIT", nullptr);

    // The setup goes to the user's temporary folder, the viewer is looked for beside us.
    char temporary[MAX_PATH + 1];
    GetTempPathA(sizeof temporary, temporary);
    EXPECT_EQ(SetupFilePath().Str(), std::string(temporary) + "HarvoUpdate.exe");
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string folder(self);
    folder.resize(folder.find_last_of('\\') + 1);
    EXPECT_EQ(ProgramFolder().Str(), folder);
}

class HttpClasses : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_server = new test::CUpdateServer("brenvo_parts", kPort);
        ASSERT_TRUE(s_server->Start()) << test::ReadText(s_server->WindowsPath("server.log"));
    }
    static void TearDownTestSuite()
    {
        delete s_server;
        s_server = nullptr;
    }

    CHttpFile* Get(const char* object)
    {
        if (!m_connection)
            m_connection.reset(m_session.GetHttpConnection("127.0.0.1", INTERNET_FLAG_DONT_CACHE, kPort));
        if (!m_connection)
            return nullptr;
        CHttpFile* file = m_connection->OpenRequest("GET", object, INTERNET_FLAG_EXISTING_CONNECT);
        if (file && !file->SendRequest()) {
            delete file;
            return nullptr;
        }
        return file;
    }

    static test::CUpdateServer* s_server;
    CInternetSession m_session{nullptr, 1, INTERNET_OPEN_TYPE_PRECONFIG, 0};
    std::unique_ptr<CHttpConnection> m_connection;
};

test::CUpdateServer* HttpClasses::s_server = nullptr;

TEST_F(HttpClasses, LinesStatusAndLength)
{
    std::unique_ptr<CHttpFile> lines(Get("/lines"));
    ASSERT_TRUE(lines);
    DWORD status = 0;
    ASSERT_TRUE(lines->QueryInfoStatusCode(status));
    EXPECT_EQ(status, 200u);
    std::vector<std::string> read;
    CStringA line;
    while (lines->ReadString(line))
        read.push_back(line.Str());
    EXPECT_EQ(read, (std::vector<std::string>{"first", "", "third", "last-without-end"}));

    std::unique_ptr<CHttpFile> missing(Get("/nowhere"));
    ASSERT_TRUE(missing);
    ASSERT_TRUE(missing->QueryInfoStatusCode(status));
    EXPECT_EQ(status, 404u);
}

// The body's count against its declared length, as the download does it.
struct Received {
    std::string bytes;
    std::vector<int> positions;
    DownloadIo Io(CHttpFile& file)
    {
        DownloadIo io;
        io.read = [&file](void* buffer, int size) { return file.Read(buffer, size); };
        io.write = [this](const void* data, int size) {
            bytes.append(static_cast<const char*>(data), static_cast<size_t>(size));
            return true;
        };
        io.progress = [this](int position) { positions.push_back(position); };
        return io;
    }
};

TEST_F(HttpClasses, DownloadCountsWhatArrived)
{
    std::unique_ptr<CHttpFile> good(Get("/body?n=10000"));
    ASSERT_TRUE(good);
    int64_t length = 0;
    ASSERT_TRUE(good->QueryContentLength(length));
    EXPECT_EQ(length, 10000);
    Received whole;
    EXPECT_TRUE(DownloadBody(length, whole.Io(*good)));
    EXPECT_EQ(whole.positions, (std::vector<int>{40, 81, 100}));
    ASSERT_EQ(whole.bytes.size(), 10000u);
    EXPECT_EQ(static_cast<unsigned char>(whole.bytes[9999]), 9999 * 7 % 256);

    // 5000 of 10000 declared bytes, then a close: the stack reports a clean read of 0 bytes.
    m_connection.reset();
    std::unique_ptr<CHttpFile> cut(Get("/body?n=5000&mode=short"));
    ASSERT_TRUE(cut);
    ASSERT_TRUE(cut->QueryContentLength(length));
    EXPECT_EQ(length, 10000);
    Received part;
    EXPECT_FALSE(DownloadBody(length, part.Io(*cut)));
    EXPECT_EQ(part.bytes.size(), 5000u);

    m_connection.reset();
    std::unique_ptr<CHttpFile> chunked(Get("/body?n=10000&mode=chunked"));
    ASSERT_TRUE(chunked);
    EXPECT_FALSE(chunked->QueryContentLength(length));
    EXPECT_EQ(length, 0);
}

TEST_F(HttpClasses, NothingListeningFailsTheSend)
{
    std::unique_ptr<CHttpConnection> connection(
        m_session.GetHttpConnection("127.0.0.1", INTERNET_FLAG_DONT_CACHE, kPort + 1));
    ASSERT_TRUE(connection); // WinInet connects only when a request is sent
    std::unique_ptr<CHttpFile> file(connection->OpenRequest("GET", "/", INTERNET_FLAG_EXISTING_CONNECT));
    ASSERT_TRUE(file);
    EXPECT_FALSE(file->SendRequest());
}

TEST(BrenvoFile, CreateWriteAndRefuse)
{
    const std::string path = test::MediaPath("brenvo_parts_file.bin");
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
    EXPECT_TRUE(file.Write("ab\0c", 4));
    file.Close();
    EXPECT_EQ(test::ReadText(path), std::string("ab\0c", 4));
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
    file.Close();
    EXPECT_EQ(test::ReadText(path), ""); // replaced, not appended
    EXPECT_TRUE(CFile::Remove(path.c_str()));
    EXPECT_FALSE(file.Open("Z:\\no\\such\\folder\\x.bin", CFile::modeCreate | CFile::modeWrite));
}

} // namespace
