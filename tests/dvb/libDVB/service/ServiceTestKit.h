// A transport-stream engine over nothing, a listener that owns the services it is asked for, and
// section builders, for the service-manager and engine tests.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dvb/libDVB/engine/CTSEngine.h"
#include "dvb/libDVB/service/CService.h"
#include "dvb/libDVB/si/SIBuilders.h"

namespace test {

class CTestEngine : public libDVB::CTSEngine {
public:
    explicit CTestEngine(CTSEngineCallback* owner = nullptr) : CTSEngine(owner, u"FILE") {}
    ~CTestEngine() override { Stop(); }
    HRESULT OpenDevice() override { return openResult; }
    HRESULT openResult = S_OK;

    void Feed(uint16_t pid, const Bytes& section)
    {
        for (const auto& p : PacketizeSections(pid, {section}, m_continuity[pid]))
            GetRouter().DeliverPacket(p.data(), 188);
    }

private:
    std::map<uint16_t, uint8_t> m_continuity;
};

// Owns every service it hands out and records what it is told.
class CTestListener : public libDVB::CServiceManager::CServiceManagerCallback,
                      public libDVB::CService::CServiceCallback {
public:
    HRESULT OnServiceAdded(libDVB::CServiceManager* manager, uint16_t serviceId, libDVB::CService** out) override
    {
        added.push_back(serviceId);
        if (refuse.count(serviceId))
            return S_FALSE;
        if (reuse) {
            *out = reuse;
            return S_OK;
        }
        auto& slot = services[serviceId];
        if (!slot)
            slot = std::make_unique<libDVB::CService>(this, manager, serviceId, 0, u"");
        *out = slot.get();
        return S_OK;
    }
    HRESULT OnServiceRemoved(libDVB::CServiceManager*, uint16_t serviceId, libDVB::CService* service) override
    {
        removed.push_back(serviceId);
        removedServices.push_back(service);
        return S_OK;
    }
    HRESULT OnServicePacket(libDVB::CService*, uint16_t pid, const uint8_t*, uint32_t, uint32_t) override
    {
        ++packets[pid];
        return S_OK;
    }
    HRESULT OnServiceChanged(libDVB::CService* service, uint32_t mask, uint32_t state, uint32_t) override
    {
        changes.push_back({service->GetServiceId(), mask, state});
        return S_OK;
    }
    HRESULT OnTeletextPage(libDVB::CTeletextDecoder*, uint32_t, bool, bool) override { return S_OK; }

    libDVB::CService* Service(uint16_t id) { return services.count(id) ? services[id].get() : nullptr; }

    struct Change {
        uint16_t serviceId;
        uint32_t mask;
        uint32_t state;
    };
    std::map<uint16_t, std::unique_ptr<libDVB::CService>> services;
    std::vector<uint16_t> added, removed;
    std::vector<libDVB::CService*> removedServices;
    std::vector<Change> changes;
    std::map<uint16_t, int> packets;
    std::map<uint16_t, bool> refuse;
    libDVB::CService* reuse = nullptr;
};

inline Bytes Pat(uint16_t tsid, uint8_t version, const std::vector<std::pair<uint16_t, uint16_t>>& programs)
{
    Bytes body;
    for (const auto& p : programs)
        body = Cat({body, {static_cast<uint8_t>(p.first >> 8), static_cast<uint8_t>(p.first),
                           static_cast<uint8_t>(0xE0 | (p.second >> 8)), static_cast<uint8_t>(p.second)}});
    return MakeLongSection(0x00, tsid, version, 0, 0, body);
}

struct EsEntry {
    uint8_t type;
    uint16_t pid;
    Bytes descriptors;
};

inline Bytes Pmt(uint16_t program, uint8_t version, uint16_t pcrPid, const std::vector<EsEntry>& streams)
{
    Bytes body = Cat({{static_cast<uint8_t>(0xE0 | (pcrPid >> 8)), static_cast<uint8_t>(pcrPid)}, Loop12({})});
    for (const auto& s : streams)
        body = Cat({body, {s.type, static_cast<uint8_t>(0xE0 | (s.pid >> 8)), static_cast<uint8_t>(s.pid)},
                    Loop12(s.descriptors)});
    return MakeLongSection(0x02, program, version, 0, 0, body);
}

inline Bytes Language(const char* code) { return Descriptor(0x0A, {uint8_t(code[0]), uint8_t(code[1]), uint8_t(code[2]), 0}); }
inline Bytes Ac3() { return Descriptor(0x6A, {0x00}); }
inline Bytes Subtitling(const char* code)
{
    return Descriptor(0x59, {uint8_t(code[0]), uint8_t(code[1]), uint8_t(code[2]), 0x10, 0x00, 0x01, 0x00, 0x01});
}
struct TeletextEntry {
    const char* language;
    uint8_t type;
    uint8_t magazine;
    uint8_t page;
};
inline Bytes Teletext(const std::vector<TeletextEntry>& entries)
{
    Bytes payload;
    for (const auto& e : entries)
        payload = Cat({payload, {uint8_t(e.language[0]), uint8_t(e.language[1]), uint8_t(e.language[2]),
                                 static_cast<uint8_t>((e.type << 3) | (e.magazine & 7)), e.page}});
    return Descriptor(0x56, payload);
}

struct SdtEntry {
    uint16_t serviceId;
    std::string name;
    std::string provider;
    bool eitPresentFollowing = true;
    bool freeCA = false;
};

inline Bytes Sdt(uint16_t tsid, uint16_t onid, uint8_t version, const std::vector<SdtEntry>& services)
{
    Bytes body = {static_cast<uint8_t>(onid >> 8), static_cast<uint8_t>(onid), 0xFF};
    for (const auto& s : services) {
        const Bytes descriptor = Descriptor(0x48, Cat({{0x01}, Text(s.provider), Text(s.name)}));
        const uint16_t flags = static_cast<uint16_t>((4 << 13) | (s.freeCA ? 0x1000 : 0) | descriptor.size());
        body = Cat({body,
                    {static_cast<uint8_t>(s.serviceId >> 8), static_cast<uint8_t>(s.serviceId),
                     static_cast<uint8_t>(0xFC | (s.eitPresentFollowing ? 1 : 0)), static_cast<uint8_t>(flags >> 8),
                     static_cast<uint8_t>(flags)},
                    descriptor});
    }
    return MakeLongSection(0x42, tsid, version, 0, 0, body);
}

struct EitEvent {
    uint16_t eventId;
    uint16_t mjd;
    uint8_t hour;
    std::string name;
};

// EIT present/following actual: events of one section, each 1 h 30 min long.
inline Bytes EitPresentFollowing(uint16_t sid, uint16_t tsid, uint16_t onid, uint8_t version, uint8_t section,
                                 const std::vector<EitEvent>& events)
{
    Bytes body = {static_cast<uint8_t>(tsid >> 8), static_cast<uint8_t>(tsid), static_cast<uint8_t>(onid >> 8),
                  static_cast<uint8_t>(onid), 1, 0x4E};
    for (const auto& e : events) {
        const Bytes descriptor = Descriptor(0x4D, Cat({Str("eng"), Text(e.name), Text("")}));
        const uint16_t flags = static_cast<uint16_t>((4 << 13) | descriptor.size());
        body = Cat({body, {static_cast<uint8_t>(e.eventId >> 8), static_cast<uint8_t>(e.eventId)},
                    MjdTime(e.mjd, e.hour, 0, 0), {0x01, 0x30, 0x00},
                    {static_cast<uint8_t>(flags >> 8), static_cast<uint8_t>(flags)}, descriptor});
    }
    return MakeLongSection(0x4E, sid, version, section, 1, body);
}

} // namespace test
