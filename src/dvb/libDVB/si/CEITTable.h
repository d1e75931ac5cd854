// Event information table (ETSI EN 300 468 5.2.4), table_id 0x4E-0x6F: present/following and
// schedule events of one service.
#pragma once

#include <map>

#include "dvb/libDVB/si/CSILongTable.h"
#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CEITTable : public CSILongTable {
public:
    struct CEvent {
        uint16_t event_id = 0;
        int64_t start = 0;    // UTC seconds since 1970
        int64_t duration = 0; // seconds
        uint8_t running_status = 0;
        uint8_t free_CA_mode = 0;
        CDescriptorList descriptors;
    };

    uint16_t GetServiceId() const { return static_cast<uint16_t>(m_tableIdExtension); }
    uint16_t GetTransportStreamId() const { return m_transportStreamId; }
    uint16_t GetOriginalNetworkId() const { return m_originalNetworkId; }
    uint8_t GetSegmentLastSectionNumber() const { return m_segmentLastSectionNumber; }
    uint8_t GetLastTableId() const { return m_lastTableId; }
    // The events in section order.
    const std::vector<CEvent>& GetEvents() const { return m_events; }
    // The event with this event_id (the last one when a section repeats it), or null.
    const CEvent* FindEvent(uint16_t eventId) const;

protected:
    uint32_t MinimumBody() const override { return 6; }
    HRESULT ParseBody(base::CByteReader& body) override;

private:
    uint16_t m_transportStreamId = 0;
    uint16_t m_originalNetworkId = 0;
    uint8_t m_segmentLastSectionNumber = 0;
    uint8_t m_lastTableId = 0;
    std::vector<CEvent> m_events;
    std::map<uint16_t, size_t> m_eventIndex;
};

} // namespace libDVB
