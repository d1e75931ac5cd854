// What the network tests under Wine share: Unix peers (ffmpeg, VLC, python3) started from the
// Windows test program, a message pump with a bounded wait, and a listener that owns services and
// counts their packets from the socket thread.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include <windows.h>

#include "base/Result.h"
#include "dvb/libDVB/service/CService.h"
#include "dvb/libDVB/service/CServiceManager.h"
#include "support/WaitUntil.h"

namespace test {

// A shell command run by the Unix bash beside Wine. Wine cannot wait on a Unix process, so the
// script records its pid and exit code in files next to the media (named after `name`).
class CUnixPeer {
public:
    explicit CUnixPeer(const std::string& name);
    ~CUnixPeer();
    bool Start(const std::string& command);
    // True when the command ended within `ms`; `code` gets its exit code.
    bool WaitExit(unsigned ms, int* code = nullptr);
    // Sends `signal` (default SIGINT) and waits up to 5 s for the end.
    void Stop(const char* signal = "INT");
    // Unix path of a file of this peer (STEM + suffix), for commands.
    std::string UnixStem() const;
    // Windows path of the same.
    std::string WindowsPath(const std::string& suffix) const;

private:
    bool Run(const std::string& script, const std::string& suffix);

    std::string m_name;
    bool m_started = false;
};

// Unix path of a generated media file, for the peers' command lines.
std::string UnixMediaPath(const std::string& name);
// Unix path of a file in the source tree, for commands.
std::string UnixSourcePath(const std::string& relative);

// Sends one SAP announcement (RFC 2974, IPv4 origin 127.0.0.1) of `sdp` to the global-scope SAP
// group, as an announcer on this machine would; gtest expectations check each step. `deletion`
// sets the T bit: the announcement of that id is withdrawn.
void SendAnnouncement(const std::string& sdp, uint16_t id = 0x4B1D, bool deletion = false);

// Dispatches this thread's messages until `done` holds or `ms` have passed; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, unsigned ms);

// Owns the services a manager asks for; counts their packets per PID from any thread.
class CCountingListener : public libDVB::CServiceManager::CServiceManagerCallback,
                          public libDVB::CService::CServiceCallback {
public:
    HRESULT OnServiceAdded(libDVB::CServiceManager* manager, uint16_t serviceId, libDVB::CService** out) override;
    HRESULT OnServiceRemoved(libDVB::CServiceManager*, uint16_t, libDVB::CService*) override { return S_OK; }
    HRESULT OnServicePacket(libDVB::CService*, uint16_t pid, const uint8_t*, uint32_t, uint32_t) override;
    HRESULT OnServiceChanged(libDVB::CService*, uint32_t, uint32_t, uint32_t) override { return S_OK; }
    HRESULT OnTeletextPage(libDVB::CTeletextDecoder*, uint32_t, bool, bool) override { return S_OK; }

    int Packets(uint16_t pid) const { return m_packets[pid & 0x1FFF].load(); }
    void ResetPackets();

    // Written only while the socket thread reports services; read after it ended.
    std::map<uint16_t, std::unique_ptr<libDVB::CService>> services;

private:
    std::atomic<int> m_packets[0x2000] = {};
};

} // namespace test
