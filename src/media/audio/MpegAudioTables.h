// Constant tables of ISO/IEC 11172-3 used by the layer I/II decoder.
#pragma once

#include <cstdint>

namespace audio {
namespace mpa {

extern const uint32_t kSampleRates[3];   // sampling_frequency index
extern const uint16_t kBitRates[3][15];  // [layer I, II, III][bitrate_index], kbit/s

struct QuantClass {
    uint32_t levels;
    uint8_t bits;
    bool grouped;
};
extern const QuantClass kClasses[17];

// One subband's row of a layer II allocation table: allocation code width and the class of each
// code from 1 on.
struct AllocationRow {
    unsigned bits;
    const uint8_t* classes;
};
// table 0..3 for Tables 3-B.2a to 3-B.2d.
AllocationRow AllocationFor(int table, int subband);
extern const int kSubbandLimit[4];

extern const int32_t kWindow[512]; // synthesis window in units of 2^-16
} // namespace mpa
} // namespace audio
