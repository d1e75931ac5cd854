// Constant tables of ATSC A/52 used by the AC-3 decoder.
#pragma once

#include <cstddef>
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

// Quantiser levels of Tables 7.19 to 7.23 (bap 1 to 5) and the other per-coefficient tables.
// Codes outside a quantiser's range (grouped codes above 26, 124 or 120; code 7 of the seven-level
// and 15 of the fifteen-level quantiser) decode as 0 instead of reaching past a table.
struct Quantisers {
    float group3[32][3];   // bap 1: three three-level mantissas in 5 bits
    float group5[128][3];  // bap 2: three five-level mantissas in 7 bits
    float group11[128][2]; // bap 4: two eleven-level mantissas in 7 bits
    // Bap 3 (codes 0 to 7) from 0 and bap 5 (codes 0 to 15) from 8, in one table so that a reader
    // takes either without a branch.
    static constexpr int kLevel15 = 8;
    float asymmetric[24];
    float scale[25];       // 2^-exponent
    // CRC-16, generator x^16 + x^15 + x^2 + 1 (section 7.10.1): crc[0] one byte's step, crc[k]
    // that of a byte followed by k zero bytes, for eight bytes a step.
    uint16_t crc[8][256];
    Quantisers();
};
const Quantisers& GetQuantisers();

// The CRC-16 of section 7.10.1 over `bytes` bytes, from a register of zero.
uint32_t Crc16(const uint8_t* data, size_t bytes);

} // namespace ac3
} // namespace audio
