// Builds transport-stream packets by hand for tests: payload packets, adaptation fields and
// sections split over packets the way a multiplexer does it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace test {

using TSPacket = std::array<uint8_t, 188>;

struct PacketOptions {
    bool payloadUnitStart = false;
    uint8_t continuity = 0;
    uint8_t scrambling = 0;
    bool transportError = false;
    // -1: no adaptation field; otherwise adaptation_field_length (the field is stuffed with 0xFF).
    int adaptationLength = -1;
    bool payload = true;
};

// One packet: header, optional adaptation field, then `payload` (at most what fits); the rest 0xFF.
TSPacket MakePacket(uint16_t pid, const std::vector<uint8_t>& payload, const PacketOptions& options = {});

// Packets carrying `sections` back to back from one payload_unit_start (pointer_field 0),
// continuing over as many packets as needed, the last one stuffed. `continuity` is advanced.
std::vector<TSPacket> PacketizeSections(uint16_t pid, const std::vector<std::vector<uint8_t>>& sections,
                                        uint8_t& continuity);

// A long-form section: table_id, section_syntax_indicator 1, the given body after the 5 header bytes
// (table_id_extension, version, current_next, section_number, last_section_number), CRC-32 appended.
std::vector<uint8_t> MakeLongSection(uint8_t tableId, uint16_t extension, uint8_t version, uint8_t number,
                                     uint8_t lastNumber, const std::vector<uint8_t>& body);

// Flattens packets into one byte run.
std::vector<uint8_t> Concatenate(const std::vector<TSPacket>& packets);

} // namespace test
