#include "dvb/libDVB/teletext/TeletextCoding.h"

namespace libDVB {

namespace {

// Hamming 8/4: bits b1..b8 (bit 0 first) are P1 D1 P2 D2 P3 D3 P4 D4; each codeword has odd
// parity over the protection sets of EN 300 706, 8.2.
uint8_t EncodeHamming84(uint8_t data)
{
    const unsigned d1 = data & 1, d2 = (data >> 1) & 1, d3 = (data >> 2) & 1, d4 = (data >> 3) & 1;
    const unsigned p1 = 1 ^ d1 ^ d3 ^ d4;
    const unsigned p2 = 1 ^ d1 ^ d2 ^ d4;
    const unsigned p3 = 1 ^ d1 ^ d2 ^ d3;
    const unsigned p4 = 1 ^ p1 ^ d1 ^ p2 ^ d2 ^ p3 ^ d3 ^ d4;
    return static_cast<uint8_t>(p1 | d1 << 1 | p2 << 2 | d2 << 3 | p3 << 4 | d3 << 5 | p4 << 6 | d4 << 7);
}

int BitCount(unsigned value)
{
    int n = 0;
    for (; value; value &= value - 1)
        ++n;
    return n;
}

struct CTables {
    uint8_t reverse[256];
    uint8_t hamming[256];
    CTables()
    {
        uint8_t codewords[16];
        for (unsigned d = 0; d < 16; ++d)
            codewords[d] = EncodeHamming84(static_cast<uint8_t>(d));
        for (unsigned v = 0; v < 256; ++v) {
            unsigned r = 0;
            for (int b = 0; b < 8; ++b)
                if (v & (1u << b))
                    r |= 0x80u >> b;
            reverse[v] = static_cast<uint8_t>(r);
            // The code's distance is 4: a byte within distance 1 of a codeword is that codeword;
            // anything further cannot be corrected.
            hamming[v] = 15;
            for (unsigned d = 0; d < 16; ++d)
                if (BitCount(v ^ codewords[d]) <= 1)
                    hamming[v] = static_cast<uint8_t>(d);
        }
    }
};

const CTables& Tables()
{
    static const CTables tables;
    return tables;
}

} // namespace

uint8_t TeletextReverseBits(uint8_t value) { return Tables().reverse[value]; }
uint8_t TeletextHamming84(uint8_t value) { return Tables().hamming[value]; }
bool TeletextOddParity(uint8_t value) { return (BitCount(value) & 1) != 0; }

} // namespace libDVB
