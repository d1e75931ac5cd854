// Arbitrary datagrams through the announcement map, as a SAP socket would hand them over: the input
// is cut into datagrams at a two-byte length, so sequences (announce, refresh, delete) are reached,
// and the clock advances so that expiry runs between them.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "dvb/libDVB_EthernetDevice/CAnnouncementMap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    libDVB_EthernetDevice::CAnnouncementMap map;
    // The whole input as one datagram first: the seeds are single captured messages.
    {
        const std::vector<uint8_t> whole(data, data + size);
        map.ParseAnnouncement(whole.data(), whole.size(), 0);
    }
    uint32_t tick = 0xFFFFC000u;
    size_t offset = 0;
    while (offset + 2 <= size) {
        const size_t length = static_cast<size_t>(data[offset] << 8 | data[offset + 1]);
        offset += 2;
        const size_t n = length < size - offset ? length : size - offset;
        const std::vector<uint8_t> datagram(data + offset, data + offset + n); // exact size for ASan
        map.ParseAnnouncement(datagram.data(), datagram.size(), tick);
        offset += n;
        tick += 4000;
        map.Expire(tick, 2000000000);
    }
    for (uint16_t id : map.GetAnnouncementIds()) {
        auto copy = map.GetAnnouncement(id);
        if (!copy || copy->id != id)
            __builtin_trap();
    }
    return 0;
}
