// One transponder of a channel scan, on the scan's worker thread: the services its engine
// announces become channel records (on the engine's reception thread, into a locked pending list);
// after the table waits the received ones get their tuning record and are handed to the user
// interface, the rest are deleted. The records never stay behind: what cannot be handed over is
// deleted here.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/ManualResetEvent.h"
#include "dvb/DVBPlaybackCore/CQORService.h"
#include "dvb/DVBPlaybackCore/CTuneInfo.h"
#include "dvb/libDVB/engine/CTSEngine.h"

namespace plintor {

// A multicast entry of the tune list: the group (most significant byte first in bits 32..63) and
// the UDP port (bits 16..31) in one 64-bit value.
uint64_t PackMulticastEntry(const uint8_t group[4], uint16_t port);
void UnpackMulticastEntry(uint64_t entry, std::u16string* address, uint16_t* port);

class CTransponderScan : public libDVB::CServiceManager::CServiceManagerCallback {
public:
    enum Outcome { kNoPAT = 0, kScanned = 1 };

    // Hands a record to the user interface; true when it took it (then it owns it).
    using Post = std::function<bool(DVBPlaybackCore::CQORService*)>;
    // The tuning record of the transponder, one per received service.
    using MakeTuneInfo = std::function<std::unique_ptr<DVBPlaybackCore::CTuneInfo>()>;

    // Waits at most: for the PAT, for every PMT, for every SDT entry.
    struct Waits {
        unsigned pat = 500;
        unsigned pmts = 10000;
        unsigned sdt = 5000;
    };

    explicit CTransponderScan(base::CManualResetEvent& stop) : m_stop(stop) {}
    ~CTransponderScan();
    CTransponderScan(const CTransponderScan&) = delete;
    CTransponderScan& operator=(const CTransponderScan&) = delete;

    // On the engine's reception thread: a record "Program <id>" joins the pending list.
    HRESULT OnServiceAdded(libDVB::CServiceManager* manager, uint16_t serviceId, libDVB::CService** out) override;
    HRESULT OnServiceRemoved(libDVB::CServiceManager* manager, uint16_t serviceId, libDVB::CService* service) override;

    // The engine is tuned and streaming, with this scan as its listener. Waits for its tables (each
    // wait ends at once on the stop event), halts it, forgets its services, then posts every
    // received record with its tuning record, in the order announced, and deletes the others.
    // kNoPAT when no PAT came in time (nothing posted).
    Outcome Collect(libDVB::CTSEngine& engine, const MakeTuneInfo& makeTuneInfo, const Post& post,
                    const Waits& waits);
    Outcome Collect(libDVB::CTSEngine& engine, const MakeTuneInfo& makeTuneInfo, const Post& post)
    {
        return Collect(engine, makeTuneInfo, post, Waits());
    }

    // Forgets (deletes) whatever is pending: before a transponder is tuned.
    void ClearPending();

private:
    std::vector<std::unique_ptr<DVBPlaybackCore::CQORService>> TakePending();
    // Forgets the engine's services and tables.
    static void Forget(libDVB::CTSEngine& engine);

    base::CManualResetEvent& m_stop;
    std::mutex m_pendingLock;
    std::vector<std::unique_ptr<DVBPlaybackCore::CQORService>> m_pending;
};

} // namespace plintor
