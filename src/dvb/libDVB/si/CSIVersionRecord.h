// What the parser remembers of one table (one key): the version last seen and, per section_number,
// whether that section was seen (bit 0) and handled by the owner (bit 1) in this version.
#pragma once

#include <cstdint>
#include <cstring>

namespace libDVB {

struct CSIVersionRecord {
    static constexpr uint8_t kSeen = 1;
    static constexpr uint8_t kHandled = 2;

    CSIVersionRecord() { std::memset(sections, 0, sizeof sections); }

    int32_t version = -1;
    uint8_t sections[256];
};

} // namespace libDVB
