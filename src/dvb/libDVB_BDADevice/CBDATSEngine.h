// The transport-stream engine of one BDA tuner: its packets come from the BD Dumper sink at the end
// of the tuner's graph; the graph's states follow the engine's.
#pragma once

#include "dvb/libBDA/CBDADeviceEntry.h"
#include "dvb/libBDA/CBDADumperCallback.h"
#include "dvb/libDVB/engine/CTSEngine.h"

namespace libDVB_BDADevice {

class CBDATSEngine : public libBDA::CBDADumperCallback, public libDVB::CTSEngine {
public:
    // The entry belongs to the global device list and outlives the engine.
    CBDATSEngine(libBDA::CBDADeviceEntry* entry, CTSEngineCallback* callback);
    ~CBDATSEngine() override;

    // From the graph's streaming thread: the sink's bytes, unchanged, into the router.
    HRESULT OnDumpData(const uint8_t* data, int32_t length) override;

    // Only while the graph is open and stopped; 1 otherwise.
    HRESULT Tune(ILocator* locator);
    HRESULT SetDiSEqCPort(uint32_t port, bool option);

    HRESULT OpenDevice() override { return S_OK; }
    HRESULT Start(libDVB::CServiceManager::CServiceManagerCallback* listener) override;
    HRESULT Stop() override;
    HRESULT StartStreaming() override;
    HRESULT StopStreaming() override;
    HRESULT CanPause() override { return S_OK; }

    libBDA::CBDADeviceEntry* GetDeviceEntry() const { return m_entry; }

private:
    libBDA::CBDADeviceEntry* m_entry;
};

} // namespace libDVB_BDADevice
