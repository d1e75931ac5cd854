// Builds PES packets by hand for tests (ISO/IEC 13818-1, 2.4.3.6) and cuts them into transport
// packets the way a multiplexer does: payload_unit_start on the first, adaptation-field stuffing
// in the last.
#pragma once

#include <cstdint>
#include <vector>

#include "support/TSPacketBuilder.h"

namespace test {

// A PES packet of private_stream_1 with a PTS: header, `stuffing` header bytes (0xFF) after the
// PTS, then the payload. PES_packet_length is filled in.
std::vector<uint8_t> MakePes(uint64_t pts, const std::vector<uint8_t>& payload, unsigned stuffing = 0,
                             uint8_t streamId = 0xBD);
std::vector<TSPacket> PacketizePes(uint16_t pid, const std::vector<uint8_t>& pes, uint8_t& continuity);

} // namespace test
