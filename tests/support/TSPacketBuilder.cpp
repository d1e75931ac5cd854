#include "support/TSPacketBuilder.h"

#include <algorithm>

#include "support/TestCrc.h"

namespace test {

TSPacket MakePacket(uint16_t pid, const std::vector<uint8_t>& payload, const PacketOptions& options)
{
    TSPacket p;
    p.fill(0xFF);
    p[0] = 0x47;
    p[1] = static_cast<uint8_t>((options.transportError ? 0x80 : 0) | (options.payloadUnitStart ? 0x40 : 0) |
                                ((pid >> 8) & 0x1F));
    p[2] = static_cast<uint8_t>(pid & 0xFF);
    const unsigned control = (options.adaptationLength >= 0 ? 2 : 0) | (options.payload ? 1 : 0);
    p[3] = static_cast<uint8_t>((options.scrambling << 6) | (control << 4) | (options.continuity & 0x0F));
    size_t offset = 4;
    if (options.adaptationLength >= 0) {
        p[4] = static_cast<uint8_t>(options.adaptationLength);
        if (options.adaptationLength > 0)
            p[5] = 0x00; // no flags
        offset = 5 + static_cast<size_t>(options.adaptationLength);
    }
    if (options.payload && offset < p.size()) {
        const size_t n = std::min(payload.size(), p.size() - offset);
        std::copy(payload.begin(), payload.begin() + static_cast<ptrdiff_t>(n), p.begin() + static_cast<ptrdiff_t>(offset));
    }
    return p;
}

std::vector<TSPacket> PacketizeSections(uint16_t pid, const std::vector<std::vector<uint8_t>>& sections,
                                        uint8_t& continuity)
{
    std::vector<uint8_t> run{0x00}; // pointer_field
    for (const auto& s : sections)
        run.insert(run.end(), s.begin(), s.end());
    std::vector<TSPacket> packets;
    size_t offset = 0;
    bool first = true;
    while (offset < run.size()) {
        const size_t n = std::min<size_t>(184, run.size() - offset);
        PacketOptions o;
        o.payloadUnitStart = first;
        o.continuity = continuity;
        continuity = static_cast<uint8_t>((continuity + 1) & 0x0F);
        packets.push_back(MakePacket(pid, std::vector<uint8_t>(run.begin() + static_cast<ptrdiff_t>(offset),
                                                               run.begin() + static_cast<ptrdiff_t>(offset + n)), o));
        offset += n;
        first = false;
    }
    return packets;
}

std::vector<uint8_t> MakeLongSection(uint8_t tableId, uint16_t extension, uint8_t version, uint8_t number,
                                     uint8_t lastNumber, const std::vector<uint8_t>& body)
{
    const size_t sectionLength = 5 + body.size() + 4;
    std::vector<uint8_t> s;
    s.push_back(tableId);
    s.push_back(static_cast<uint8_t>(0xB0 | ((sectionLength >> 8) & 0x0F)));
    s.push_back(static_cast<uint8_t>(sectionLength & 0xFF));
    s.push_back(static_cast<uint8_t>(extension >> 8));
    s.push_back(static_cast<uint8_t>(extension & 0xFF));
    s.push_back(static_cast<uint8_t>(0xC1 | ((version & 0x1F) << 1)));
    s.push_back(number);
    s.push_back(lastNumber);
    s.insert(s.end(), body.begin(), body.end());
    const uint32_t crc = MpegCrc32(s.data(), s.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        s.push_back(static_cast<uint8_t>(crc >> shift));
    return s;
}

std::vector<uint8_t> Concatenate(const std::vector<TSPacket>& packets)
{
    std::vector<uint8_t> bytes;
    for (const auto& p : packets)
        bytes.insert(bytes.end(), p.begin(), p.end());
    return bytes;
}

} // namespace test
