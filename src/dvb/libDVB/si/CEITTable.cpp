#include "dvb/libDVB/si/CEITTable.h"

#include "dvb/libDVB/si/SIReading.h"
#include "dvb/libDVB/si/SITime.h"

namespace libDVB {

const CEITTable::CEvent* CEITTable::FindEvent(uint16_t eventId) const
{
    const auto it = m_eventIndex.find(eventId);
    return it != m_eventIndex.end() ? &m_events[it->second] : nullptr;
}

HRESULT CEITTable::ParseBody(base::CByteReader& body)
{
    const uint16_t transportStreamId = body.U16();
    const uint16_t originalNetworkId = body.U16();
    const uint8_t segmentLast = body.U8();
    const uint8_t lastTableId = body.U8();
    std::vector<CEvent> events;
    std::map<uint16_t, size_t> index;
    while (body.Remaining() >= 12) {
        CEvent event;
        event.event_id = body.U16();
        event.start = MjdBcdToTime(body.Take(5));
        event.duration = BcdDuration(body.Take(3));
        event.running_status = static_cast<uint8_t>(body.Bits(3));
        event.free_CA_mode = static_cast<uint8_t>(body.Bits(1));
        // The loop is counted from behind the 12-byte event header.
        ReadDescriptorLoop(body, 0, event.descriptors);
        index[event.event_id] = events.size();
        events.push_back(std::move(event));
    }
    m_transportStreamId = transportStreamId;
    m_originalNetworkId = originalNetworkId;
    m_segmentLastSectionNumber = segmentLast;
    m_lastTableId = lastTableId;
    m_events = std::move(events);
    m_eventIndex = std::move(index);
    return S_OK;
}

} // namespace libDVB
