// The multicast groups of the scan: copies of each chosen group's address and port, so that a
// new announcement that rebuilds the wizard's list cannot pull an entry from under the worker.
// Each entry gets an engine of its own, closed when the entry ends.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dvb/libDVB_EthernetDevice/win/CMulticastDevice.h"
#include "plintor/CScanSource.h"

namespace plintor {

class CMulticastScanSource : public CScanSource {
public:
    struct Entry {
        std::u16string address; // dotted IPv4
        uint16_t port = 0;
    };

    explicit CMulticastScanSource(std::vector<Entry> entries) : m_entries(std::move(entries)) {}
    // From the packed tune-list values (group in bits 32..63, port in bits 16..31).
    static std::vector<Entry> FromPacked(const std::vector<uint64_t>& packed);

    size_t GetCount() const override { return m_entries.size(); }
    bool Open(libDVB::CServiceManager::CServiceManagerCallback*) override { return true; }
    libDVB::CTSEngine* Tune(size_t index, libDVB::CServiceManager::CServiceManagerCallback* listener) override;
    void EndEntry(size_t index) override;
    std::unique_ptr<DVBPlaybackCore::CTuneInfo> MakeTuneInfo(size_t index) const override;
    void Close() override { m_engine.reset(); }

private:
    std::vector<Entry> m_entries;
    std::unique_ptr<libDVB_EthernetDevice::CMulticastDevice> m_engine;
};

} // namespace plintor
