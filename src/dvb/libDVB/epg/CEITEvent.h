// One programme-guide event, as the EPG store keeps it and the cache file records it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace libDVB {

class CEITEvent {
public:
    uint16_t transport_stream_id = 0;
    uint16_t service_id = 0;
    uint16_t original_network_id = 0;
    uint16_t event_id = 0;
    std::u16string name;
    std::u16string shortText;
    std::u16string extendedText;
    uint32_t content = 0;  // level_1 << 4 | level_2 of the first content item (ETSI EN 300 468, 6.2.9)
    int64_t start = 0;     // seconds since 1970, UTC
    int64_t duration = 0;  // seconds
    uint8_t running_status = 1;

    uint64_t EventKey() const { return MakeEventKey(original_network_id, transport_stream_id, service_id, event_id); }
    uint64_t ServiceKey() const { return MakeEventKey(original_network_id, transport_stream_id, service_id, 0); }

    static uint64_t MakeEventKey(uint16_t onid, uint16_t tsid, uint16_t sid, uint16_t eventId)
    {
        return static_cast<uint64_t>(onid) << 48 | static_cast<uint64_t>(tsid) << 32 |
               static_cast<uint64_t>(sid) << 16 | eventId;
    }
};

// A service's events handed out by a query: independent copies in ascending start order.
using CEventList = std::vector<CEITEvent>;

} // namespace libDVB
