// PES header parsing shared by the teletext and subtitle decoders (ISO/IEC 13818-1, 2.4.3.6).
#pragma once

#include <cstdint>

namespace libDVB {

// Parses the PES header at `position` (count bytes available). On success (1) the position and the
// count are advanced past the header and `pts` holds the 33-bit PTS (0 when the header has none).
// A malformed header, or one that does not fit in `count` bytes, yields 0 and touches nothing.
int ParsePesHeader(const uint8_t*& position, uint32_t& count, uint64_t& pts);

// What a PES header says about timing and where its payload begins.
struct PesHeaderInfo {
    uint8_t streamId = 0;
    bool hasPts = false;
    bool hasDts = false;
    uint64_t pts = 0;          // 33 bits
    uint64_t dts = 0;          // 33 bits; equals pts when the header carries no DTS
    uint32_t headerLength = 0; // bytes from 00 00 01 up to the payload
};

// Parses the PES header at the start of `data` (`count` bytes; the 00 00 01 prefix is not checked). False, leaving `info` untouched,
// when the header is malformed or does not fit in `count` bytes.
bool ParsePesHeaderInfo(const uint8_t* data, uint32_t count, PesHeaderInfo& info);

} // namespace libDVB
