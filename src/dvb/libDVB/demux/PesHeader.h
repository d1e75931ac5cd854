// PES header parsing shared by the teletext and subtitle decoders (ISO/IEC 13818-1, 2.4.3.6).
#pragma once

#include <cstdint>

namespace libDVB {

// Parses the PES header at `position` (count bytes available). On success (1) the position and the
// count are advanced past the header and `pts` holds the 33-bit PTS (0 when the header has none).
// A malformed header, or one that does not fit in `count` bytes, yields 0 and touches nothing.
int ParsePesHeader(const uint8_t*& position, uint32_t& count, uint64_t& pts);

} // namespace libDVB
