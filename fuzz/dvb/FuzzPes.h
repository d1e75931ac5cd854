// Shared by the teletext and subtitle fuzz targets: the first input byte chooses whether the rest
// is taken as transport packets as they come, or as the payload of one PES packet that the target
// wraps in a valid header and cuts into packets (so mutations reach the decoders' inner layers).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fuzz {

// Calls `deliver` (packet pointer) for every 188-byte packet the input makes.
template <typename Deliver>
void ForEachPacket(const uint8_t* data, size_t size, Deliver deliver)
{
    if (size == 0)
        return;
    const bool wrap = data[0] & 1;
    ++data;
    --size;
    uint8_t packet[188];
    if (!wrap) {
        for (size_t offset = 0; offset < size; offset += 188) {
            const size_t n = size - offset < 188 ? size - offset : 188;
            for (size_t i = 0; i < 188; ++i)
                packet[i] = i < n ? data[offset + i] : 0xFF;
            packet[0] = 0x47;
            deliver(packet);
        }
        return;
    }
    // PES header with a PTS, then the input as payload.
    std::vector<uint8_t> pes = {0x00, 0x00, 0x01, 0xBD, 0x00, 0x00, 0x84, 0x80, 0x05, 0x21, 0x00, 0x01, 0x00, 0x01};
    pes.insert(pes.end(), data, data + size);
    const size_t length = pes.size() - 6 > 0xFFFF ? 0 : pes.size() - 6;
    pes[4] = static_cast<uint8_t>(length >> 8);
    pes[5] = static_cast<uint8_t>(length);
    for (size_t offset = 0; offset < pes.size(); offset += 184) {
        const size_t n = pes.size() - offset < 184 ? pes.size() - offset : 184;
        packet[0] = 0x47;
        packet[1] = offset == 0 ? 0x41 : 0x01;
        packet[2] = 0x00;
        packet[3] = 0x10;
        for (size_t i = 0; i < 184; ++i)
            packet[4 + i] = i < n ? pes[offset + i] : 0xFF;
        deliver(packet);
    }
    // The next unit start hands the PES to the decoder.
    packet[1] = 0x41;
    for (size_t i = 4; i < 188; ++i)
        packet[i] = 0xFF;
    deliver(packet);
}

} // namespace fuzz
