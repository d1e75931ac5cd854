// Lookup tables for the variable-length codes of ISO/IEC 13818-2 Annex B, indexed directly by the
// leading bits of the bit reader's window. They are built once from the standard's code lists.
#pragma once

#include <cstdint>

namespace mpeg2video {

struct VlcEntry {
    int8_t value;
    uint8_t length; // 0: no such code
};

// run kDctEndOfBlock marks end_of_block, kDctEscape the escape code, kDctLongCode (in the tables
// by the leading nine bits) a code to be looked up in the long table; level is the magnitude. Four
// bytes, so that an entry is one load at an index scaled in the address. The tables take the sign
// bit behind a code into the index: the length counts it and `sign` holds it as a mask, so a code
// is consumed by one shift.
struct DctEntry {
    uint8_t length; // 0: no such code
    uint8_t run;
    uint8_t level;
    uint8_t sign; // 0 or 0xFF
};

constexpr uint8_t kDctEndOfBlock = 64;
constexpr uint8_t kDctEscape = 65;
constexpr uint8_t kDctInvalid = 66; // no code begins with these bits
constexpr uint8_t kDctLongCode = 67;
constexpr int8_t kAddressStuffing = 34;
constexpr int8_t kAddressEscape = 35;

// macroblock_type flags.
constexpr uint8_t kMbIntra = 1;
constexpr uint8_t kMbPattern = 2;
constexpr uint8_t kMbBackward = 4;
constexpr uint8_t kMbForward = 8;
constexpr uint8_t kMbQuant = 16;

struct VlcTables {
    VlcEntry addressIncrement[2048]; // B.1, 11 bits
    VlcEntry macroblockTypeP[64];    // B.3, 6 bits
    VlcEntry macroblockTypeB[64];    // B.4, 6 bits
    VlcEntry codedBlockPattern[512]; // B.9, 9 bits
    VlcEntry motionCode[2048];       // B.10 with its sign bit, 11 bits
    VlcEntry dcSizeLuma[512];        // B.12, 9 bits
    VlcEntry dcSizeChroma[1024];     // B.13, 10 bits
    // B.14 and B.15: codes whose leading 6 bits are not all zero (at most 8 bits and their sign)
    // by the leading 9 bits; the others (at most 16 bits long, marked kDctLongCode by the short
    // tables) with their sign by the low 11 of the leading 17 bits.
    DctEntry dctFirst[512];          // B.14, first coefficient of a non-intra block
    DctEntry dctNext[512];           // B.14, all other coefficients
    DctEntry dctIntraOne[512];       // B.15
    DctEntry dctLongZero[2048];      // B.14
    DctEntry dctLongOne[2048];       // B.15
    bool consistent;                 // no two codes of one table overlap
};

const VlcTables& GetVlcTables();

} // namespace mpeg2video
