#include <winsock2.h>

#include "NetworkTestKit.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/TestMedia.h"

namespace test {

namespace {
std::string UnixFolder(const char* variable)
{
    const char* value = std::getenv(variable);
    return value ? value : "";
}
} // namespace

std::string UnixMediaPath(const std::string& name) { return UnixFolder("TOLVIK_MEDIA") + "/" + name; }
std::string UnixSourcePath(const std::string& relative) { return UnixFolder("TOLVIK_SOURCE") + "/" + relative; }

CUnixPeer::CUnixPeer(const std::string& name) : m_name(name) {}

CUnixPeer::~CUnixPeer()
{
    if (m_started)
        Stop();
}

std::string CUnixPeer::UnixStem() const { return UnixMediaPath("peer_" + m_name); }
std::string CUnixPeer::WindowsPath(const std::string& suffix) const { return MediaPath("peer_" + m_name + suffix); }

bool CUnixPeer::Run(const std::string& script, const std::string& suffix)
{
    {
        std::ofstream out(WindowsPath(suffix), std::ios::binary);
        out << "export PATH=/usr/bin:/bin\n" << script << "\n";
        if (!out)
            return false;
    }
    std::string commandLine = "Z:\\bin\\bash " + UnixStem() + suffix;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool CUnixPeer::Start(const std::string& command)
{
    const std::string stem = UnixStem();
    for (const char* suffix : {".pid", ".rc"})
        std::remove(WindowsPath(suffix).c_str());
    m_started = Run("( " + command + " ) > " + stem + ".log 2>&1 &\necho $! > " + stem + ".pid.tmp\nmv " + stem +
                        ".pid.tmp " + stem + ".pid\nwait $!\necho $? > " + stem + ".rc.tmp\nmv " + stem + ".rc.tmp " +
                        stem + ".rc",
                    ".sh");
    return m_started;
}

bool CUnixPeer::WaitExit(unsigned ms, int* code)
{
    const std::string rc = WindowsPath(".rc");
    if (!WaitUntil([&] { return FileExists(rc); }, ms))
        return false;
    if (code) {
        std::ifstream in(rc);
        *code = -1;
        in >> *code;
    }
    return true;
}

void CUnixPeer::Stop(const char* signal)
{
    if (!m_started)
        return;
    m_started = false;
    const std::string pid = WindowsPath(".pid");
    if (!WaitUntil([&] { return FileExists(pid); }, 5000))
        return;
    // The command runs in a subshell: signal its children too.
    const std::string stem = UnixStem();
    Run("p=$(cat " + stem + ".pid)\npkill -" + signal + " -P $p\nkill -" + signal + " $p 2>/dev/null", ".kill.sh");
    if (!WaitExit(5000)) {
        Run("p=$(cat " + stem + ".pid)\npkill -KILL -P $p\nkill -KILL $p 2>/dev/null", ".kill.sh");
        WaitExit(5000);
    }
}

void SendAnnouncement(const std::string& sdp, uint16_t id, bool deletion)
{
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    ASSERT_NE(s, INVALID_SOCKET);
    std::string message("\x20\x00\x00\x00\x7F\x00\x00\x01" "application/sdp", 23);
    if (deletion)
        message[0] = '\x24';
    message[2] = static_cast<char>(id >> 8);
    message[3] = static_cast<char>(id);
    message.push_back('\0');
    message += sdp;
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = inet_addr("239.255.255.255");
    to.sin_port = htons(9875);
    EXPECT_EQ(sendto(s, message.data(), static_cast<int>(message.size()), 0, reinterpret_cast<sockaddr*>(&to), sizeof to),
              static_cast<int>(message.size()));
    closesocket(s);
    WSACleanup();
}

bool PumpUntil(const std::function<bool()>& done, unsigned ms)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms)
            return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(20, ms - elapsed), QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

HRESULT CCountingListener::OnServiceAdded(libDVB::CServiceManager* manager, uint16_t serviceId, libDVB::CService** out)
{
    auto& slot = services[serviceId];
    if (!slot)
        slot = std::make_unique<libDVB::CService>(this, manager, serviceId, 0, u"");
    *out = slot.get();
    return S_OK;
}

HRESULT CCountingListener::OnServicePacket(libDVB::CService*, uint16_t pid, const uint8_t*, uint32_t, uint32_t)
{
    ++m_packets[pid & 0x1FFF];
    return S_OK;
}

void CCountingListener::ResetPackets()
{
    for (auto& count : m_packets)
        count = 0;
}

} // namespace test
