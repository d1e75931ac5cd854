// Profile values against Wine's registry, with its reg tool as the peer that reads what we
// wrote and writes what we read.
#include <gtest/gtest.h>

#include <string>

#include "TestApp.h"

namespace {

const wchar_t kProfileKey[] = L"HKCU\\Software\\Harvo\\Tolvik\\qor";

// Runs the reg tool with arguments; its exit code and what it printed.
int RunReg(const std::wstring& arguments, std::string* output = nullptr)
{
    SECURITY_ATTRIBUTES inherit = { sizeof(inherit), nullptr, TRUE };
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return -1;
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process = {};
    std::wstring commandLine = L"reg.exe " + arguments;
    BOOL started = ::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                    nullptr, &startup, &process);
    ::CloseHandle(writeEnd);
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (started && ::ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        text.append(buffer, got);
    ::CloseHandle(readEnd);
    if (!started)
        return -1;
    ::WaitForSingleObject(process.hProcess, 30000);
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    if (output)
        *output = text;
    return static_cast<int>(code);
}

// The value's type and data as reg query prints them ("REG_DWORD", "0x280"); empty when
// the value is not listed.
std::string QueriedValue(const std::string& listing, const std::string& name)
{
    size_t line = 0;
    while (line < listing.size()) {
        size_t end = listing.find('\n', line);
        if (end == std::string::npos)
            end = listing.size();
        std::string text = listing.substr(line, end - line);
        line = end + 1;
        while (!text.empty() && (text.back() == '\r' || text.back() == ' '))
            text.pop_back();
        size_t start = text.find_first_not_of(' ');
        if (start == std::string::npos || text.compare(start, name.size(), name) != 0)
            continue;
        size_t after = start + name.size();
        if (after >= text.size() || text[after] != ' ')
            continue;
        size_t type = text.find_first_not_of(' ', after);
        size_t typeEnd = text.find(' ', type);
        if (typeEnd == std::string::npos)
            return text.substr(type);
        size_t data = text.find_first_not_of(' ', typeEnd);
        return text.substr(type, typeEnd - type) + " " + (data == std::string::npos ? "" : text.substr(data));
    }
    return std::string();
}

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Harvo\\Tolvik\\qor");
        AfxGetApp()->SetRegistryKey(L"Harvo\\Tolvik");
    }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Harvo\\Tolvik\\qor"); }
};

TEST_F(ProfileTest, ProfileNameComesFromTheAppTitleString)
{
    EXPECT_EQ(CString(L"qor"), AfxGetApp()->GetProfileName());
    EXPECT_EQ(CString(L"Harvo\\Tolvik"), AfxGetApp()->GetRegistryKey());
}

TEST_F(ProfileTest, WrittenValuesAreReadBackByReg)
{
    CWinApp* app = AfxGetApp();
    EXPECT_EQ(80u, app->GetProfileInt(L"", L"FreeDiskSpace", 80)); // key missing: default
    ASSERT_TRUE(app->WriteProfileInt(L"", L"Width", 640));
    ASSERT_TRUE(app->WriteProfileInt(L"", L"Left", -8));
    ASSERT_TRUE(app->WriteProfileInt(L"Section", L"volume", 100));
    std::string listing;
    ASSERT_EQ(0, RunReg(std::wstring(L"query ") + kProfileKey, &listing));
    EXPECT_EQ("REG_DWORD 0x280", QueriedValue(listing, "Width")) << listing;
    EXPECT_EQ("REG_DWORD 0xfffffff8", QueriedValue(listing, "Left")) << listing;
    EXPECT_EQ("", QueriedValue(listing, "volume")) << listing; // it lives in the section's key
    ASSERT_EQ(0, RunReg(std::wstring(L"query ") + kProfileKey + L"\\Section", &listing));
    EXPECT_EQ("REG_DWORD 0x64", QueriedValue(listing, "volume")) << listing;
    EXPECT_EQ(640u, app->GetProfileInt(L"", L"Width", 0));
    EXPECT_EQ(-8, static_cast<int>(app->GetProfileInt(L"", L"Left", 100)));
    EXPECT_EQ(100u, app->GetProfileInt(L"Section", L"volume", 0));
}

TEST_F(ProfileTest, ValuesAddedByRegAreRead)
{
    CWinApp* app = AfxGetApp();
    ASSERT_EQ(0, RunReg(std::wstring(L"add ") + kProfileKey + L" /v Language /t REG_DWORD /d 1051 /f"));
    ASSERT_EQ(0, RunReg(std::wstring(L"add ") + kProfileKey + L" /v RecPath /t REG_SZ /d \"D:\\My recordings\" /f"));
    ASSERT_EQ(0, RunReg(std::wstring(L"add ") + kProfileKey + L" /v Height /t REG_BINARY /d 0100 /f"));
    EXPECT_EQ(1051u, app->GetProfileInt(L"", L"Language", 1033));
    EXPECT_EQ(CString(L"D:\\My recordings"), app->GetProfileString(L"", L"RecPath"));
    // A value of another type gives the default.
    EXPECT_EQ(80u, app->GetProfileInt(L"", L"RecPath", 80));
    EXPECT_EQ(480u, app->GetProfileInt(L"", L"Height", 480));
    EXPECT_EQ(CString(L"none"), app->GetProfileString(L"", L"Language", L"none"));
    EXPECT_EQ(CString(), app->GetProfileString(L"", L"Missing"));
}

TEST_F(ProfileTest, UnterminatedStringsAreTerminated)
{
    // A REG_SZ stored without its terminator and with an odd byte count.
    ASSERT_TRUE(AfxGetApp()->WriteProfileInt(L"", L"Width", 1)); // creates the key
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Harvo\\Tolvik\\qor", 0, KEY_WRITE, &key));
    const wchar_t text[] = L"abc";
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExW(key, L"RecPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), 5));
    ::RegCloseKey(key);
    EXPECT_EQ(CString(L"ab"), AfxGetApp()->GetProfileString(L"", L"RecPath"));
}

} // namespace
