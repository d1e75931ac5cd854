#include "plintor/CTransponderScan.h"

#include <cstdio>

namespace plintor {

uint64_t PackMulticastEntry(const uint8_t group[4], uint16_t port)
{
    const uint64_t address = (uint64_t{group[0]} << 24) | (uint64_t{group[1]} << 16) | (uint64_t{group[2]} << 8) |
                             uint64_t{group[3]};
    return (address << 32) | (uint64_t{port} << 16);
}

void UnpackMulticastEntry(uint64_t entry, std::u16string* address, uint16_t* port)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", static_cast<int>((entry >> 56) & 0xFF),
                  static_cast<int>((entry >> 48) & 0xFF), static_cast<int>((entry >> 40) & 0xFF),
                  static_cast<int>((entry >> 32) & 0xFF));
    address->assign(text, text + std::char_traits<char>::length(text));
    *port = static_cast<uint16_t>(entry >> 16);
}

CTransponderScan::~CTransponderScan() = default;

HRESULT CTransponderScan::OnServiceAdded(libDVB::CServiceManager* manager, uint16_t serviceId, libDVB::CService** out)
{
    char name[24];
    std::snprintf(name, sizeof name, "Program %d", static_cast<int>(serviceId));
    auto record = std::make_unique<DVBPlaybackCore::CQORService>(
        nullptr, manager, serviceId, manager ? manager->GetTransportStreamId() : 0,
        std::u16string(name, name + std::char_traits<char>::length(name)));
    *out = record.get();
    std::lock_guard<std::mutex> lock(m_pendingLock);
    m_pending.push_back(std::move(record));
    return S_OK;
}

HRESULT CTransponderScan::OnServiceRemoved(libDVB::CServiceManager*, uint16_t, libDVB::CService*) { return S_OK; }

std::vector<std::unique_ptr<DVBPlaybackCore::CQORService>> CTransponderScan::TakePending()
{
    std::lock_guard<std::mutex> lock(m_pendingLock);
    return std::move(m_pending);
}

void CTransponderScan::ClearPending() { TakePending(); }

void CTransponderScan::Forget(libDVB::CTSEngine& engine)
{
    engine.GetServiceManager().Reset();
    // The next transponder's tables may carry the same versions: they must count as new.
    engine.GetParser().Restart();
}

CTransponderScan::Outcome CTransponderScan::Collect(libDVB::CTSEngine& engine, const MakeTuneInfo& makeTuneInfo,
                                                    const Post& post, const Waits& waits)
{
    libDVB::CServiceManager& manager = engine.GetServiceManager();
    if (base::WaitEither(manager.PATEvent(), m_stop, waits.pat) != 0) {
        engine.StopStreaming();
        Forget(engine);
        ClearPending();
        return kNoPAT;
    }
    if (base::WaitEither(manager.AllPMTEvent(), m_stop, waits.pmts) != 0) {
        // Without every PMT the engine does not open the SI PIDs by itself (ETSI EN 300 468, 5.1.3).
        for (uint16_t pid : {uint16_t{0x11}, uint16_t{0x12}, uint16_t{0x14}})
            engine.GetRouter().EnablePid(pid);
    }
    base::WaitEither(manager.AllSDTEvent(), m_stop, waits.sdt);
    engine.StopStreaming();

    // The reception states first: the manager marks every record detached when it lets go. It
    // lets go before any record is handed over, for after the post only the user interface
    // thread touches a record.
    std::vector<std::unique_ptr<DVBPlaybackCore::CQORService>> pending = TakePending();
    std::vector<bool> received;
    for (const auto& record : pending)
        received.push_back(record->GetReceptionState() == libDVB::CService::kReceived);
    Forget(engine);
    for (size_t i = 0; i < pending.size(); ++i) {
        if (!received[i])
            continue;
        std::unique_ptr<DVBPlaybackCore::CQORService>& record = pending[i];
        if (makeTuneInfo) {
            std::unique_ptr<DVBPlaybackCore::CTuneInfo> tuneInfo = makeTuneInfo();
            if (tuneInfo && record->AddTuneInfo(tuneInfo.get()) == S_OK)
                tuneInfo.release();
        }
        record->SetSelected(!record->IsScrambled() && record->GetServiceType() != 0 ? 1 : 0);
        if (post && post(record.get()))
            record.release();
    }
    return kScanned;
}

} // namespace plintor
