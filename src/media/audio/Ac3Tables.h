// Constant tables of ATSC A/52 used by the AC-3 decoder.
#pragma once

#include <cstdint>

namespace audio {
namespace ac3 {

// Words (16 bits) per sync frame for fscod 0..2 and frmsizecod 0..37 (A/52 Table 5.18).
uint32_t FrameWords(uint32_t fscod, uint32_t frmsizecod);
extern const uint32_t kSampleRates[3];   // fscod (Table 5.6)
extern const uint8_t kFullChannels[8];   // acmod -> nfchans (Table 5.8)

// Parametric bit allocation (Tables 7.6 to 7.16).
extern const int32_t kSlowDecay[4];
extern const int32_t kFastDecay[4];
extern const int32_t kSlowGain[4];
extern const int32_t kDbPerBit[4];
extern const int32_t kFloor[8];
extern const int32_t kFastGain[8];
extern const uint8_t kBandStart[51]; // bndtab, with the end of the last band (253) appended
extern const uint8_t kBinToBand[256]; // masktab
extern const uint8_t kLogAdd[256];    // latab
extern const uint16_t kHearingThreshold[3][50]; // hth[fscod][band]
extern const uint8_t kBapTable[64];   // baptab
extern const uint8_t kMantissaBits[16]; // bits of the ungrouped mantissas for bap 3..15 (Table 7.18)

} // namespace ac3
} // namespace audio
