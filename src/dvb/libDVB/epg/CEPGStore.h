// Every EIT event the running devices deliver, for all services, indexed by event and by service,
// kept across runs in the cache file "\epg.dat". Merging runs on device threads while the
// user-interface thread queries, so every operation takes the store's lock.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/Lock.h"
#include "base/ManualResetEvent.h"
#include "base/Result.h"
#include "dvb/libDVB/epg/CEITEvent.h"

namespace libDVB {

class CEITTable;

// What one event of an EIT section contributes, with its descriptors already decoded.
struct CEITEventUpdate {
    struct ShortEvent {
        std::u16string name;
        std::u16string text;
    };
    struct ExtendedEvent {
        uint8_t descriptor_number = 0;
        uint8_t last_descriptor_number = 0;
        std::u16string text;
    };
    uint16_t original_network_id = 0;
    uint16_t transport_stream_id = 0;
    uint16_t service_id = 0;
    uint16_t event_id = 0;
    int64_t start = 0;
    int64_t duration = 0;
    uint8_t running_status = 0;
    std::vector<ShortEvent> shortEvents;       // descriptor order
    std::vector<ExtendedEvent> extendedEvents; // descriptor order
    std::vector<uint32_t> contentValues;       // every content item, in order
};

class CEPGStore {
public:
    using Clock = std::function<int64_t()>;

    // Loads the cache when the path is not empty; `now` defaults to the wall clock.
    explicit CEPGStore(const std::u16string& cachePath, Clock now = Clock());
    virtual ~CEPGStore();
    CEPGStore(const CEPGStore&) = delete;
    CEPGStore& operator=(const CEPGStore&) = delete;

    // Adds or updates the events of one EIT section; E_FAIL when it does not parse.
    HRESULT Merge(const uint8_t* section, uint32_t length, CEITTable* table);
    // Adds or updates one event (Merge calls this per event of a section).
    void MergeEvent(const CEITEventUpdate& update);

    void GetServiceEvents(uint16_t onid, uint16_t tsid, uint16_t sid, CEventList& out);
    HRESULT GetNowNext(uint16_t tsid, uint16_t sid, uint16_t onid, CEITEvent* present, CEITEvent* following,
                       float* fraction);
    HRESULT GetEvent(uint64_t eventKey, CEITEvent* out);

    void SetGuideWindow(int64_t from, int64_t to);
    base::CManualResetEvent& NewEventSignal() { return m_newEvent; }
    base::CManualResetEvent& GuideRefreshSignal() { return m_guideRefresh; }

    bool Save();
    bool Load();
    size_t GetEventCount();

private:
    void AddToServiceList(CEITEvent* event, bool startChanged);
    int64_t Now() const;

    base::CCriticalSection m_lock;
    std::map<uint64_t, std::unique_ptr<CEITEvent>> m_events;          // owns the events
    std::map<uint64_t, std::vector<CEITEvent*>> m_services;           // ascending start order
    base::CManualResetEvent m_newEvent;
    base::CManualResetEvent m_guideRefresh;
    int64_t m_guideFrom = 0;
    int64_t m_guideTo = 0;
    std::u16string m_cachePath;
    Clock m_now;
};

} // namespace libDVB
