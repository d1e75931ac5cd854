// Constants of the AP-922 inverse transform (Intel application note AP-922): the scaled cosines of
// each row pair, the row rounders and the column tangents, shared by its portable and SIMD forms.
#pragma once

#include <cstdint>

namespace mpeg2video {

// Per row: c4, c2, c6, c1, c3, c5, c7.
constexpr int16_t kAp922RowCosines[4][7] = {
    {16384, 21407, 8867, 22725, 19266, 12873, 4520},  // rows 0 and 4
    {22725, 29692, 12299, 31521, 26722, 17855, 6270}, // rows 1 and 7
    {21407, 27969, 11585, 29692, 25172, 16819, 5906}, // rows 2 and 6
    {19266, 25172, 10426, 26722, 22654, 15137, 5315}, // rows 3 and 5
};
constexpr int kAp922RowTable[8] = {0, 1, 2, 3, 0, 3, 2, 1};
constexpr int32_t kAp922Rounder[8] = {65535, 3612, 2271, 1203, 1023, 102, 398, 469};
constexpr int kAp922RowShift = 11;
constexpr int kAp922ColumnShift = 6;
constexpr int16_t kAp922Tan1 = 13036;      // tan(pi/16) * 2^16
constexpr int16_t kAp922Tan2 = 27146;      // tan(2 pi/16) * 2^16
constexpr int16_t kAp922Tan3m1 = -21746;   // (tan(3 pi/16) - 1) * 2^16
constexpr int16_t kAp922Cos4 = 23170;      // cos(pi/4) * 2^15

// The pair coefficients of each row table in the order the row pass multiplies them:
// (x0,x2) x P, (x4,x6) x Q, (x1,x3) x R, (x5,x7) x S, each giving the four outputs k = 0..3.
struct Ap922RowPairs {
    int16_t p[8], q[8], r[8], s[8];
};

constexpr Ap922RowPairs MakeAp922RowPairs(const int16_t* c)
{
    const int16_t c4 = c[0], c2 = c[1], c6 = c[2], c1 = c[3], c3 = c[4], c5 = c[5], c7 = c[6];
    return Ap922RowPairs{
        {c4, c2, c4, c6, c4, int16_t(-c6), c4, int16_t(-c2)},
        {c4, c6, int16_t(-c4), int16_t(-c2), int16_t(-c4), c2, c4, int16_t(-c6)},
        {c1, c3, c3, int16_t(-c7), c5, int16_t(-c1), c7, int16_t(-c5)},
        {c5, c7, int16_t(-c1), int16_t(-c5), c7, c3, c3, int16_t(-c1)},
    };
}

} // namespace mpeg2video
