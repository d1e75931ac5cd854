// One tuner and network type of the device list, with the graph it builds on demand and the two
// state words that guard it: graph closed/opening/closing/open and stopped/running/stopping/
// starting. Operations called where they have nothing to do return S_FALSE; in a transitional
// state that does not allow them, E_FAIL.
#pragma once

#include <cstdint>
#include <string>

#include "dvb/libBDA/CBDAGraph.h"

namespace libBDA {

class CBDADeviceEntry {
public:
    enum GraphState : uint32_t { kGraphClosed = 0, kGraphOpening = 1, kGraphClosing = 2, kGraphOpen = 3 };
    enum RunState : uint32_t { kStopped = 0, kRunning = 1, kStopping = 2, kStarting = 3 };

    CBDADeviceEntry(const std::wstring& deviceName, const std::wstring& friendlyName, uint32_t networkType);
    virtual ~CBDADeviceEntry();
    CBDADeviceEntry(const CBDADeviceEntry&) = delete;
    CBDADeviceEntry& operator=(const CBDADeviceEntry&) = delete;

    HRESULT OpenGraph(CBDADumperCallback* callback);
    HRESULT CloseGraph();
    HRESULT Run();
    HRESULT Stop();
    HRESULT Tune(ILocator* locator);
    HRESULT SetDiSEqCPort(uint32_t port, bool option);

    std::wstring GetName() const { return m_deviceName; }
    std::wstring GetFriendlyName() const { return m_friendlyName; }
    uint32_t GetNetworkType() const { return m_networkType; }
    uint32_t GetGraphState() const { return m_graphState; }
    uint32_t GetRunState() const { return m_runState; }
    CBDAGraph& Graph() { return m_graph; }

    // The device list makes equal friendly names unique after enumeration.
    void SetFriendlyName(const std::wstring& name) { m_friendlyName = name; }

protected:
    // Transitional states are only observable from inside an operation; tests set them here.
    void ForceStates(uint32_t graphState, uint32_t runState)
    {
        m_graphState = graphState;
        m_runState = runState;
    }

private:
    std::wstring m_deviceName;
    std::wstring m_friendlyName;
    uint32_t m_networkType;
    CBDAGraph m_graph;
    uint32_t m_graphState = kGraphClosed;
    uint32_t m_runState = kStopped;
};

} // namespace libBDA
