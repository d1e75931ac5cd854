// What one run of the scan walks: the entries of the wizard's tune list (copies, owned by the
// source, so that the wizard's controls may change while the worker reads them) and the engine
// that receives each. A tuner opens one engine and retunes it; a multicast list opens an engine
// per entry and closes it when the entry ends.
#pragma once

#include <cstddef>
#include <memory>

#include "dvb/DVBPlaybackCore/CTuneInfo.h"
#include "dvb/libDVB/engine/CTSEngine.h"

namespace plintor {

class CScanSource {
public:
    virtual ~CScanSource() = default;

    virtual size_t GetCount() const = 0;
    // Before the first entry; false ends the scan at once (no such device, or it cannot open).
    virtual bool Open(libDVB::CServiceManager::CServiceManagerCallback* listener) = 0;
    // Tunes to the entry and starts streaming; null skips the entry.
    virtual libDVB::CTSEngine* Tune(size_t index, libDVB::CServiceManager::CServiceManagerCallback* listener) = 0;
    // The entry is done (or was skipped).
    virtual void EndEntry(size_t index) = 0;
    // The tuning record every channel found on the entry carries.
    virtual std::unique_ptr<DVBPlaybackCore::CTuneInfo> MakeTuneInfo(size_t index) const = 0;
    // After the last entry.
    virtual void Close() = 0;
};

} // namespace plintor
