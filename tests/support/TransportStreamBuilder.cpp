#include "support/TransportStreamBuilder.h"

#include <cstdio>

namespace test {

std::vector<TSPacket> ProgramTables(const std::vector<ProgramStream>& streams, uint16_t pcrPid, uint8_t& continuity)
{
    const auto pat = MakeLongSection(0x00, 1, 0, 0, 0, {0x00, 0x01, 0xF0, 0x00});
    std::vector<uint8_t> body = {static_cast<uint8_t>(0xE0 | (pcrPid >> 8)), static_cast<uint8_t>(pcrPid), 0xF0, 0x00};
    for (const auto& s : streams) {
        body.push_back(s.streamType);
        body.push_back(static_cast<uint8_t>(0xE0 | (s.pid >> 8)));
        body.push_back(static_cast<uint8_t>(s.pid));
        body.push_back(static_cast<uint8_t>(0xF0 | (s.descriptor.size() >> 8)));
        body.push_back(static_cast<uint8_t>(s.descriptor.size()));
        body.insert(body.end(), s.descriptor.begin(), s.descriptor.end());
    }
    const auto pmt = MakeLongSection(0x02, 1, 0, 0, 0, body);
    uint8_t patContinuity = continuity;
    auto packets = PacketizeSections(0x0000, {pat}, patContinuity);
    const auto pmtPackets = PacketizeSections(0x1000, {pmt}, continuity);
    packets.insert(packets.end(), pmtPackets.begin(), pmtPackets.end());
    return packets;
}

TSPacket PcrPacket(uint16_t pid, uint64_t pcrBase, uint8_t continuity)
{
    PacketOptions o;
    o.adaptationLength = 183;
    o.payload = false;
    o.continuity = continuity;
    TSPacket p = MakePacket(pid, {}, o);
    p[5] = 0x10; // PCR_flag
    p[6] = static_cast<uint8_t>(pcrBase >> 25);
    p[7] = static_cast<uint8_t>(pcrBase >> 17);
    p[8] = static_cast<uint8_t>(pcrBase >> 9);
    p[9] = static_cast<uint8_t>(pcrBase >> 1);
    p[10] = static_cast<uint8_t>(((pcrBase & 1) << 7) | 0x7E);
    p[11] = 0x00;
    return p;
}

bool WriteFile(const std::string& path, const std::vector<TSPacket>& packets)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = true;
    for (const auto& p : packets)
        ok = ok && std::fwrite(p.data(), 1, p.size(), f) == p.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace test
