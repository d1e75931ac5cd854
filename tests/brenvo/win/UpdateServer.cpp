#include "UpdateServer.h"

#include <fstream>
#include <sstream>

#include "support/TestMedia.h"

namespace test {

std::string UnixFromWindows(const std::string& path)
{
    std::string unix = path.size() > 1 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':' ? path.substr(2) : path;
    for (char& ch : unix)
        if (ch == '\\')
            ch = '/';
    return unix;
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

namespace {

const char* const kSettingsKey = "Software\\Harvo\\brenvo\\Settings";

} // namespace

DWORD InstalledId()
{
    DWORD value = 0xFFFFFFFF, size = sizeof(value);
    RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, "Tolvik 1.0", RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

void SetInstalledId(DWORD id)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "Tolvik 1.0", REG_DWORD, &id, sizeof(id));
}

void ClearSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Harvo\\brenvo"); }

void CUpdateServer::PrepareRun()
{
    DeleteFileA(SetupMarker().c_str());
    DeleteFileA(ViewerMarker().c_str());
    SetEnvironmentVariableA("TOLVIK_SETUP_MARKER", SetupMarker().c_str());
    SetEnvironmentVariableA("TOLVIK_VIEWER_MARKER", ViewerMarker().c_str());
    SetEnvironmentVariableA("TOLVIK_SETUP_EXIT", "0");
    ClearSettings();
    RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "UpdateHost", REG_SZ, "127.0.0.1", 10);
}

CUpdateServer::CUpdateServer(const std::string& name, int port) : m_name(name), m_port(port)
{
    const std::string folder = MediaPath(m_name);
    CreateDirectoryA(folder.substr(0, folder.find_last_of('\\')).c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
}

CUpdateServer::~CUpdateServer()
{
    if (!m_started)
        return;
    // The pid in "ready" is python's own.
    RunBash("kill $(cat " + UnixPath("ready") + ") 2>/dev/null; rm -f " + UnixPath("ready"), "stop.sh");
    WaitUntil([&] { return !FileExists(WindowsPath("ready")); }, 5000);
}

std::string CUpdateServer::WindowsPath(const std::string& file) const { return MediaPath(m_name + "/" + file); }
std::string CUpdateServer::UnixPath(const std::string& file) const { return UnixFromWindows(WindowsPath(file)); }

bool CUpdateServer::RunBash(const std::string& script, const std::string& file)
{
    WriteText(WindowsPath(file), "export PATH=/usr/bin:/bin\n" + script + "\n");
    std::string commandLine = "Z:\\bin\\bash " + UnixPath(file);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool CUpdateServer::Start()
{
    DeleteFileA(WindowsPath("ready").c_str());
    SetScenario("{}");
    const std::string script = UnixFromWindows(SourcePath("tests/brenvo/update_server.py"));
    m_started = RunBash("exec python3 " + script + " " + std::to_string(m_port) + " " + UnixPath("") + " > " +
                            UnixPath("server.log") + " 2>&1",
                        "start.sh");
    return m_started && WaitUntil([&] { return FileExists(WindowsPath("ready")); }, 15000);
}

void CUpdateServer::SetScenario(const std::string& json)
{
    WriteText(WindowsPath("scenario.json"), json);
    DeleteFileA(WindowsPath("requests.log").c_str());
}

std::vector<std::string> CUpdateServer::Requests() const
{
    std::vector<std::string> lines;
    std::istringstream in(ReadText(WindowsPath("requests.log")));
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

} // namespace test
