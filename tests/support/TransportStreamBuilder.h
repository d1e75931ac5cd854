// Builds whole transport streams around test elementary streams, so that programs no one here
// wrote (ffmpeg) can read them: PAT, a PMT with one private-data stream and its descriptor, PCR
// packets and the stream's PES packets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/TSPacketBuilder.h"

namespace test {

struct ProgramStream {
    uint16_t pid;
    uint8_t streamType;             // 0x06 for teletext and DVB subtitles
    std::vector<uint8_t> descriptor; // tag, length, body
};

// PAT and PMT (program 1, PMT PID 0x1000, PCR on `pcrPid`) as packets.
std::vector<TSPacket> ProgramTables(const std::vector<ProgramStream>& streams, uint16_t pcrPid, uint8_t& continuity);
// An adaptation-only packet carrying a PCR (base, extension 0).
TSPacket PcrPacket(uint16_t pid, uint64_t pcrBase, uint8_t continuity);
bool WriteFile(const std::string& path, const std::vector<TSPacket>& packets);

} // namespace test
