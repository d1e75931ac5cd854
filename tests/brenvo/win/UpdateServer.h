// The test's update server: tests/brenvo/update_server.py run by the host's python3 on
// 127.0.0.1 inside the test's private network namespace, driven through its state folder.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/WaitUntil.h"

namespace test {

class CUpdateServer {
public:
    // name: the state folder under the media folder.
    CUpdateServer(const std::string& name, int port);
    ~CUpdateServer();

    // Starts python3 and waits until it listens.
    bool Start();
    // The scenario (a JSON object) for the requests that follow; clears the request log.
    void SetScenario(const std::string& json);
    // The request log: one JSON object per line, in arrival order.
    std::vector<std::string> Requests() const;

    // Before each run of the updater: no markers, the fake setup ends with 0, and the settings
    // key holds only the update host 127.0.0.1.
    void PrepareRun();
    // What the fake setup and the stub viewer write when they run.
    std::string SetupMarker() const { return WindowsPath("setup_ran.txt"); }
    std::string ViewerMarker() const { return WindowsPath("viewer_started.txt"); }

    // Windows path of a file in the state folder, and its Unix path.
    std::string WindowsPath(const std::string& file) const;
    std::string UnixPath(const std::string& file) const;

private:
    bool RunBash(const std::string& script, const std::string& file);

    std::string m_name;
    int m_port;
    bool m_started = false;
};

// The updater's settings key: "Tolvik 1.0" (0xFFFFFFFF when missing), set, and removed.
DWORD InstalledId();
void SetInstalledId(DWORD id);
void ClearSettings();

// Unix path of a Windows path on Z: (the host's root), or of a path Wine passed through.
std::string UnixFromWindows(const std::string& path);
std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);

} // namespace test
