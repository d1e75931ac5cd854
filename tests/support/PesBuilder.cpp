#include "support/PesBuilder.h"

#include <algorithm>
#include <cstddef>

namespace test {

std::vector<uint8_t> MakePes(uint64_t pts, const std::vector<uint8_t>& payload, unsigned stuffing, uint8_t streamId)
{
    std::vector<uint8_t> p = {0x00, 0x00, 0x01, streamId, 0x00, 0x00, 0x84, 0x80,
                              static_cast<uint8_t>(5 + stuffing)};
    p.push_back(static_cast<uint8_t>(0x21 | (((pts >> 30) & 7) << 1)));
    p.push_back(static_cast<uint8_t>(pts >> 22));
    p.push_back(static_cast<uint8_t>((((pts >> 15) & 0x7F) << 1) | 1));
    p.push_back(static_cast<uint8_t>(pts >> 7));
    p.push_back(static_cast<uint8_t>(((pts & 0x7F) << 1) | 1));
    p.insert(p.end(), stuffing, 0xFF);
    p.insert(p.end(), payload.begin(), payload.end());
    const size_t length = p.size() - 6;
    p[4] = static_cast<uint8_t>(length >> 8);
    p[5] = static_cast<uint8_t>(length);
    return p;
}

std::vector<TSPacket> PacketizePes(uint16_t pid, const std::vector<uint8_t>& pes, uint8_t& continuity)
{
    std::vector<TSPacket> packets;
    size_t offset = 0;
    while (offset < pes.size()) {
        const size_t n = std::min<size_t>(184, pes.size() - offset);
        PacketOptions o;
        o.payloadUnitStart = offset == 0;
        o.continuity = continuity;
        continuity = static_cast<uint8_t>((continuity + 1) & 0x0F);
        if (n < 184)
            o.adaptationLength = static_cast<int>(183 - n);
        packets.push_back(MakePacket(
            pid, std::vector<uint8_t>(pes.begin() + static_cast<ptrdiff_t>(offset),
                                      pes.begin() + static_cast<ptrdiff_t>(offset + n)),
            o));
        offset += n;
    }
    return packets;
}

} // namespace test
