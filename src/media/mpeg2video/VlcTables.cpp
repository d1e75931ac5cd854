#include "media/mpeg2video/VlcTables.h"

#include <cstring>
#include <initializer_list>

namespace mpeg2video {

namespace {

struct Code {
    const char* bits; // the code, spaces ignored
    int value;
};

struct DctCode {
    const char* bits; // without the sign bit
    uint8_t run;
    uint8_t level;
};

// Table B.1 (increments 1..33, stuffing, escape).
const Code kAddressIncrementCodes[] = {
    {"1", 1},             {"011", 2},           {"010", 3},           {"0011", 4},
    {"0010", 5},          {"0001 1", 6},        {"0001 0", 7},        {"0000 111", 8},
    {"0000 110", 9},      {"0000 1011", 10},    {"0000 1010", 11},    {"0000 1001", 12},
    {"0000 1000", 13},    {"0000 0111", 14},    {"0000 0110", 15},    {"0000 0101 11", 16},
    {"0000 0101 10", 17}, {"0000 0101 01", 18}, {"0000 0101 00", 19}, {"0000 0100 11", 20},
    {"0000 0100 10", 21}, {"0000 0100 011", 22}, {"0000 0100 010", 23}, {"0000 0100 001", 24},
    {"0000 0100 000", 25}, {"0000 0011 111", 26}, {"0000 0011 110", 27}, {"0000 0011 101", 28},
    {"0000 0011 100", 29}, {"0000 0011 011", 30}, {"0000 0011 010", 31}, {"0000 0011 001", 32},
    {"0000 0011 000", 33}, {"0000 0001 111", kAddressStuffing}, {"0000 0001 000", kAddressEscape},
};

// Table B.3: macroblock_type in P pictures.
const Code kMacroblockTypePCodes[] = {
    {"1", kMbForward | kMbPattern},
    {"01", kMbPattern},
    {"001", kMbForward},
    {"0001 1", kMbIntra},
    {"0001 0", kMbQuant | kMbForward | kMbPattern},
    {"0000 1", kMbQuant | kMbPattern},
    {"0000 01", kMbQuant | kMbIntra},
};

// Table B.4: macroblock_type in B pictures.
const Code kMacroblockTypeBCodes[] = {
    {"10", kMbForward | kMbBackward},
    {"11", kMbForward | kMbBackward | kMbPattern},
    {"010", kMbBackward},
    {"011", kMbBackward | kMbPattern},
    {"0010", kMbForward},
    {"0011", kMbForward | kMbPattern},
    {"0001 1", kMbIntra},
    {"0001 0", kMbQuant | kMbForward | kMbBackward | kMbPattern},
    {"0000 11", kMbQuant | kMbForward | kMbPattern},
    {"0000 10", kMbQuant | kMbBackward | kMbPattern},
    {"0000 01", kMbQuant | kMbIntra},
};

// Table B.9: coded_block_pattern.
const Code kCodedBlockPatternCodes[] = {
    {"111", 60},        {"1101", 4},        {"1100", 8},        {"1011", 16},       {"1010", 32},
    {"1001 1", 12},     {"1001 0", 48},     {"1000 1", 20},     {"1000 0", 40},     {"0111 1", 28},
    {"0111 0", 44},     {"0110 1", 52},     {"0110 0", 56},     {"0101 1", 1},      {"0101 0", 61},
    {"0100 1", 2},      {"0100 0", 62},     {"0011 11", 24},    {"0011 10", 36},    {"0011 01", 3},
    {"0011 00", 63},    {"0010 111", 5},    {"0010 110", 9},    {"0010 101", 17},   {"0010 100", 33},
    {"0010 011", 6},    {"0010 010", 10},   {"0010 001", 18},   {"0010 000", 34},   {"0001 1111", 7},
    {"0001 1110", 11},  {"0001 1101", 19},  {"0001 1100", 35},  {"0001 1011", 13},  {"0001 1010", 49},
    {"0001 1001", 21},  {"0001 1000", 41},  {"0001 0111", 14},  {"0001 0110", 50},  {"0001 0101", 22},
    {"0001 0100", 42},  {"0001 0011", 15},  {"0001 0010", 51},  {"0001 0001", 23},  {"0001 0000", 43},
    {"0000 1111", 25},  {"0000 1110", 37},  {"0000 1101", 26},  {"0000 1100", 38},  {"0000 1011", 29},
    {"0000 1010", 45},  {"0000 1001", 53},  {"0000 1000", 57},  {"0000 0111", 30},  {"0000 0110", 46},
    {"0000 0101", 54},  {"0000 0100", 58},  {"0000 0011 1", 31}, {"0000 0011 0", 47}, {"0000 0010 1", 55},
    {"0000 0010 0", 59}, {"0000 0001 1", 27}, {"0000 0001 0", 39}, {"0000 0000 1", 0},
};

// Table B.10: motion_code magnitudes 0..16 (a sign bit follows every non-zero one).
const char* const kMotionCodeBits[17] = {
    "1",           "01",          "001",         "0001",        "0000 11",     "0000 101",
    "0000 100",    "0000 011",    "0000 0101 1", "0000 0101 0", "0000 0100 1", "0000 0100 01",
    "0000 0100 00", "0000 0011 11", "0000 0011 10", "0000 0011 01", "0000 0011 00",
};

// Tables B.12 and B.13: dct_dc_size.
const Code kDcSizeLumaCodes[] = {
    {"100", 0},  {"00", 1},      {"01", 2},       {"101", 3},        {"110", 4},         {"1110", 5},
    {"1111 0", 6}, {"1111 10", 7}, {"1111 110", 8}, {"1111 1110", 9}, {"1111 1111 0", 10}, {"1111 1111 1", 11},
};
const Code kDcSizeChromaCodes[] = {
    {"00", 0},         {"01", 1},          {"10", 2},            {"110", 3},
    {"1110", 4},       {"1111 0", 5},      {"1111 10", 6},       {"1111 110", 7},
    {"1111 1110", 8},  {"1111 1111 0", 9}, {"1111 1111 10", 10}, {"1111 1111 11", 11},
};

// Table B.14 without the codes that begin with 1 (those differ between the first and the other
// coefficients of a block).
const DctCode kDctZeroCodes[] = {
    {"011", 1, 1},   {"0100", 0, 2},  {"0101", 2, 1},  {"0010 1", 0, 3}, {"0011 1", 3, 1},
    {"0011 0", 4, 1}, {"0001 10", 1, 2}, {"0001 11", 5, 1}, {"0001 01", 6, 1}, {"0001 00", 7, 1},
    {"0000 110", 0, 4}, {"0000 100", 2, 2}, {"0000 111", 8, 1}, {"0000 101", 9, 1},
    {"0000 01", kDctEscape, 0},
    {"0010 0110", 0, 5}, {"0010 0001", 0, 6}, {"0010 0101", 1, 3}, {"0010 0100", 3, 2},
    {"0010 0111", 10, 1}, {"0010 0011", 11, 1}, {"0010 0010", 12, 1}, {"0010 0000", 13, 1},
    {"0000 0010 10", 0, 7}, {"0000 0011 00", 1, 4}, {"0000 0010 11", 2, 3}, {"0000 0011 11", 4, 2},
    {"0000 0010 01", 5, 2}, {"0000 0011 10", 14, 1}, {"0000 0011 01", 15, 1}, {"0000 0010 00", 16, 1},
    {"0000 0001 1101", 0, 8}, {"0000 0001 1000", 0, 9}, {"0000 0001 0011", 0, 10}, {"0000 0001 0000", 0, 11},
    {"0000 0001 1011", 1, 5}, {"0000 0001 0100", 2, 4}, {"0000 0001 1100", 3, 3}, {"0000 0001 0010", 4, 3},
    {"0000 0001 1110", 6, 2}, {"0000 0001 0101", 7, 2}, {"0000 0001 0001", 8, 2}, {"0000 0001 1111", 17, 1},
    {"0000 0001 1010", 18, 1}, {"0000 0001 1001", 19, 1}, {"0000 0001 0111", 20, 1}, {"0000 0001 0110", 21, 1},
    {"0000 0000 1101 0", 0, 12}, {"0000 0000 1100 1", 0, 13}, {"0000 0000 1100 0", 0, 14},
    {"0000 0000 1011 1", 0, 15}, {"0000 0000 1011 0", 1, 6}, {"0000 0000 1010 1", 1, 7},
    {"0000 0000 1010 0", 2, 5}, {"0000 0000 1001 1", 3, 4}, {"0000 0000 1001 0", 5, 3},
    {"0000 0000 1000 1", 9, 2}, {"0000 0000 1000 0", 10, 2}, {"0000 0000 1111 1", 22, 1},
    {"0000 0000 1111 0", 23, 1}, {"0000 0000 1110 1", 24, 1}, {"0000 0000 1110 0", 25, 1},
    {"0000 0000 1101 1", 26, 1},
};

// The codes of 14 to 16 bits, common to Tables B.14 and B.15.
const DctCode kDctLongCodes[] = {
    {"0000 0000 0111 11", 0, 16}, {"0000 0000 0111 10", 0, 17}, {"0000 0000 0111 01", 0, 18},
    {"0000 0000 0111 00", 0, 19}, {"0000 0000 0110 11", 0, 20}, {"0000 0000 0110 10", 0, 21},
    {"0000 0000 0110 01", 0, 22}, {"0000 0000 0110 00", 0, 23}, {"0000 0000 0101 11", 0, 24},
    {"0000 0000 0101 10", 0, 25}, {"0000 0000 0101 01", 0, 26}, {"0000 0000 0101 00", 0, 27},
    {"0000 0000 0100 11", 0, 28}, {"0000 0000 0100 10", 0, 29}, {"0000 0000 0100 01", 0, 30},
    {"0000 0000 0100 00", 0, 31}, {"0000 0000 0011 000", 0, 32}, {"0000 0000 0010 111", 0, 33},
    {"0000 0000 0010 110", 0, 34}, {"0000 0000 0010 101", 0, 35}, {"0000 0000 0010 100", 0, 36},
    {"0000 0000 0010 011", 0, 37}, {"0000 0000 0010 010", 0, 38}, {"0000 0000 0010 001", 0, 39},
    {"0000 0000 0010 000", 0, 40}, {"0000 0000 0011 111", 1, 8}, {"0000 0000 0011 110", 1, 9},
    {"0000 0000 0011 101", 1, 10}, {"0000 0000 0011 100", 1, 11}, {"0000 0000 0011 011", 1, 12},
    {"0000 0000 0011 010", 1, 13}, {"0000 0000 0011 001", 1, 14}, {"0000 0000 0001 0011", 1, 15},
    {"0000 0000 0001 0010", 1, 16}, {"0000 0000 0001 0001", 1, 17}, {"0000 0000 0001 0000", 1, 18},
    {"0000 0000 0001 0100", 6, 3}, {"0000 0000 0001 1010", 11, 2}, {"0000 0000 0001 1001", 12, 2},
    {"0000 0000 0001 1000", 13, 2}, {"0000 0000 0001 0111", 14, 2}, {"0000 0000 0001 0110", 15, 2},
    {"0000 0000 0001 0101", 16, 2}, {"0000 0000 0001 1111", 27, 1}, {"0000 0000 0001 1110", 28, 1},
    {"0000 0000 0001 1101", 29, 1}, {"0000 0000 0001 1100", 30, 1}, {"0000 0000 0001 1011", 31, 1},
};

// Table B.15 up to 13 bits.
const DctCode kDctOneCodes[] = {
    {"10", 0, 1},      {"0110", kDctEndOfBlock, 0}, {"010", 1, 1},     {"110", 0, 2},
    {"0010 1", 2, 1},  {"0111", 0, 3},   {"0011 1", 3, 1},  {"0001 10", 4, 1}, {"0011 0", 1, 2},
    {"0001 11", 5, 1}, {"0000 110", 6, 1}, {"0000 100", 7, 1}, {"1110 0", 0, 4}, {"0000 111", 2, 2},
    {"0000 101", 8, 1}, {"1111 000", 9, 1}, {"0000 01", kDctEscape, 0}, {"1110 1", 0, 5},
    {"0001 01", 0, 6}, {"1111 001", 1, 3}, {"0010 0110", 3, 2}, {"1111 010", 10, 1},
    {"0010 0001", 11, 1}, {"0010 0101", 12, 1}, {"0010 0100", 13, 1}, {"0001 00", 0, 7},
    {"0010 0111", 1, 4}, {"1111 1100", 2, 3}, {"1111 1101", 4, 2}, {"0000 0010 0", 5, 2},
    {"0000 0010 1", 14, 1}, {"0000 0011 1", 15, 1}, {"0000 0011 01", 16, 1}, {"1111 011", 0, 8},
    {"1111 100", 0, 9}, {"0010 0011", 0, 10}, {"0010 0010", 0, 11}, {"0010 0000", 1, 5},
    {"0000 0011 00", 2, 4}, {"0000 0001 1100", 3, 3}, {"0000 0001 0010", 4, 3},
    {"0000 0001 1110", 6, 2}, {"0000 0001 0101", 7, 2}, {"0000 0001 0001", 8, 2},
    {"0000 0001 1111", 17, 1}, {"0000 0001 1010", 18, 1}, {"0000 0001 1001", 19, 1},
    {"0000 0001 0111", 20, 1}, {"0000 0001 0110", 21, 1}, {"1111 1010", 0, 12}, {"1111 1011", 0, 13},
    {"1111 1110", 0, 14}, {"1111 1111", 0, 15}, {"0000 0000 1011 0", 1, 6}, {"0000 0000 1010 1", 1, 7},
    {"0000 0000 1010 0", 2, 5}, {"0000 0000 1001 1", 3, 4}, {"0000 0000 1001 0", 5, 3},
    {"0000 0000 1000 1", 9, 2}, {"0000 0000 1000 0", 10, 2}, {"0000 0000 1111 1", 22, 1},
    {"0000 0000 1111 0", 23, 1}, {"0000 0000 1110 1", 24, 1}, {"0000 0000 1110 0", 25, 1},
    {"0000 0000 1101 1", 26, 1},
};

struct Bits {
    uint32_t value = 0;
    unsigned length = 0;
};

Bits Parse(const char* text)
{
    Bits b;
    for (const char* p = text; *p; ++p) {
        if (*p == ' ')
            continue;
        b.value = (b.value << 1) | uint32_t(*p == '1');
        ++b.length;
    }
    return b;
}

class Builder {
public:
    explicit Builder(VlcTables& t) : m_t(t) {}

    void Put(VlcEntry* table, unsigned width, Bits code, int value)
    {
        if (code.length > width) {
            m_t.consistent = false;
            return;
        }
        const uint32_t first = code.value << (width - code.length);
        const uint32_t n = 1u << (width - code.length);
        for (uint32_t i = first; i < first + n; ++i) {
            if (table[i].length)
                m_t.consistent = false;
            table[i].value = int8_t(value);
            table[i].length = uint8_t(code.length);
        }
    }

    void PutDct(DctEntry* table, unsigned width, uint32_t prefix, unsigned prefixLength, unsigned length,
                uint8_t run, uint8_t level, uint8_t sign = 0)
    {
        const uint32_t first = prefix << (width - prefixLength);
        const uint32_t n = 1u << (width - prefixLength);
        for (uint32_t i = first; i < first + n; ++i) {
            if (table[i].length)
                m_t.consistent = false;
            table[i] = DctEntry{uint8_t(length), run, level, sign};
        }
    }

    // A code into a table of `width` bits: a coefficient with each of its signs, the end of block
    // and the escape code as they are.
    void SignedDct(DctEntry* table, unsigned width, uint32_t value, unsigned length, unsigned codeLength,
                   uint8_t run, uint8_t level)
    {
        if (run >= kDctEndOfBlock) {
            PutDct(table, width, value, length, codeLength, run, level);
            return;
        }
        PutDct(table, width, value << 1, length + 1, codeLength + 1, run, level, 0);
        PutDct(table, width, value << 1 | 1, length + 1, codeLength + 1, run, level, 0xFF);
    }
    void ShortDct(DctEntry* table, uint32_t value, unsigned length, uint8_t run, uint8_t level)
    {
        SignedDct(table, 9, value, length, length, run, level);
    }

    // Short codes (leading 6 bits not all zero) go into the 9-bit table, the rest into the 11-bit
    // one indexed by the low 11 of 17 bits.
    void Dct(DctEntry* shortTable, DctEntry* longTable, const DctCode& c)
    {
        const Bits b = Parse(c.bits);
        if (b.length >= 6 && (b.value >> (b.length - 6)) == 0) {
            if (b.length > 16 || b.length < 7) {
                m_t.consistent = false;
                return;
            }
            SignedDct(longTable, 11, b.value & ((1u << (b.length - 6)) - 1), b.length - 6, b.length, c.run, c.level);
        } else {
            if (b.length > 8) {
                m_t.consistent = false;
                return;
            }
            ShortDct(shortTable, b.value, b.length, c.run, c.level);
        }
    }

private:
    VlcTables& m_t;
};

VlcTables* Build()
{
    static VlcTables t;
    std::memset(&t, 0, sizeof t);
    t.consistent = true;
    Builder b(t);
    for (const Code& c : kAddressIncrementCodes)
        b.Put(t.addressIncrement, 11, Parse(c.bits), c.value);
    for (const Code& c : kMacroblockTypePCodes)
        b.Put(t.macroblockTypeP, 6, Parse(c.bits), c.value);
    for (const Code& c : kMacroblockTypeBCodes)
        b.Put(t.macroblockTypeB, 6, Parse(c.bits), c.value);
    for (const Code& c : kCodedBlockPatternCodes)
        b.Put(t.codedBlockPattern, 9, Parse(c.bits), c.value);
    for (int m = 0; m <= 16; ++m) {
        Bits code = Parse(kMotionCodeBits[m]);
        if (m == 0) {
            b.Put(t.motionCode, 11, code, 0);
            continue;
        }
        Bits plus{code.value << 1, code.length + 1};
        Bits minus{(code.value << 1) | 1, code.length + 1};
        b.Put(t.motionCode, 11, plus, m);
        b.Put(t.motionCode, 11, minus, -m);
    }
    for (const Code& c : kDcSizeLumaCodes)
        b.Put(t.dcSizeLuma, 9, Parse(c.bits), c.value);
    for (const Code& c : kDcSizeChromaCodes)
        b.Put(t.dcSizeChroma, 10, Parse(c.bits), c.value);

    // B.14: the first coefficient reads "1s" as run 0 level 1; later ones read "10" as end of
    // block and "11s" as run 0 level 1.
    b.ShortDct(t.dctFirst, 1, 1, 0, 1);
    b.ShortDct(t.dctNext, 2, 2, kDctEndOfBlock, 0);
    b.ShortDct(t.dctNext, 3, 2, 0, 1);
    for (const DctCode& c : kDctZeroCodes) {
        b.Dct(t.dctFirst, t.dctLongZero, c);
        // The long table is shared by first and other coefficients: fill it once.
        const Bits bits = Parse(c.bits);
        if (!(bits.length >= 6 && (bits.value >> (bits.length - 6)) == 0))
            b.Dct(t.dctNext, t.dctLongZero, c);
    }
    for (const DctCode& c : kDctLongCodes) {
        b.Dct(t.dctNext, t.dctLongZero, c);
        b.Dct(t.dctIntraOne, t.dctLongOne, c);
    }
    for (const DctCode& c : kDctOneCodes)
        b.Dct(t.dctIntraOne, t.dctLongOne, c);
    for (DctEntry* table : {t.dctFirst, t.dctNext, t.dctIntraOne}) {
        for (int i = 0; i < 512; ++i)
            if (!table[i].length)
                table[i].run = kDctInvalid;
        for (int i = 0; i < 8; ++i)
            table[i].run = kDctLongCode; // the leading six bits are zero
    }
    for (DctEntry* table : {t.dctLongZero, t.dctLongOne})
        for (int i = 0; i < 2048; ++i)
            if (!table[i].length)
                table[i].run = kDctInvalid;
    return &t;
}

} // namespace

const VlcTables& GetVlcTables()
{
    static const VlcTables* tables = Build();
    return *tables;
}

} // namespace mpeg2video
