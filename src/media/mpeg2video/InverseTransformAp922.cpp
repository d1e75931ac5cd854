// The AP-922 inverse transform in portable form: the row pass in 32-bit arithmetic that wraps as
// the SIMD multiply-add does, the column pass in saturating 16-bit arithmetic, step for step as
// the SSE2 form computes it, so that both give the same samples for every input.
#include "media/mpeg2video/Ap922Constants.h"
#include "media/mpeg2video/Routines.h"

namespace mpeg2video {

namespace {

inline int16_t Sat(int v) { return int16_t(v < -32768 ? -32768 : v > 32767 ? 32767 : v); }
inline int16_t Adds(int16_t a, int16_t b) { return Sat(int(a) + int(b)); }
inline int16_t Subs(int16_t a, int16_t b) { return Sat(int(a) - int(b)); }
inline int16_t MulHi(int16_t a, int16_t b) { return int16_t((int32_t(a) * int32_t(b)) >> 16); }
inline int32_t Wrap(uint32_t v) { return int32_t(v); }

void Row(int16_t* x, int row)
{
    const Ap922RowPairs t = MakeAp922RowPairs(kAp922RowCosines[kAp922RowTable[row]]);
    const uint32_t rounder = uint32_t(kAp922Rounder[row]);
    int16_t out[8];
    for (int k = 0; k < 4; ++k) {
        const uint32_t p = uint32_t(x[0] * t.p[2 * k] + x[2] * t.p[2 * k + 1]);
        const uint32_t q = uint32_t(x[4] * t.q[2 * k] + x[6] * t.q[2 * k + 1]);
        const uint32_t r = uint32_t(x[1] * t.r[2 * k] + x[3] * t.r[2 * k + 1]);
        const uint32_t s = uint32_t(x[5] * t.s[2 * k] + x[7] * t.s[2 * k + 1]);
        const uint32_t a = p + q + rounder;
        const uint32_t b = r + s;
        out[k] = Sat(Wrap(a + b) >> kAp922RowShift);
        out[7 - k] = Sat(Wrap(a - b) >> kAp922RowShift);
    }
    for (int i = 0; i < 8; ++i)
        x[i] = out[i];
}

void Column(int16_t* b)
{
    const int16_t x0 = b[0], x1 = b[8], x2 = b[16], x3 = b[24], x4 = b[32], x5 = b[40], x6 = b[48], x7 = b[56];
    const int16_t tp17 = Adds(x1, MulHi(x7, kAp922Tan1));
    const int16_t tm17 = Subs(MulHi(x1, kAp922Tan1), x7);
    const int16_t tp35 = Adds(x3, Adds(x5, MulHi(x5, kAp922Tan3m1)));
    const int16_t tm35 = Subs(Adds(x3, MulHi(x3, kAp922Tan3m1)), x5);
    const int16_t b0 = Adds(tp17, tp35);
    const int16_t b3 = Subs(tm17, tm35);
    const int16_t u = Subs(tp17, tp35);
    const int16_t v = Adds(tm17, tm35);
    const int16_t h1 = MulHi(Adds(v, u), kAp922Cos4);
    const int16_t h2 = MulHi(Subs(u, v), kAp922Cos4);
    const int16_t b1 = Adds(h1, h1);
    const int16_t b2 = Adds(h2, h2);
    const int16_t tp26 = Adds(x2, MulHi(x6, kAp922Tan2));
    const int16_t tm26 = Subs(MulHi(x2, kAp922Tan2), x6);
    const int16_t s04 = Adds(x0, x4);
    const int16_t d04 = Subs(x0, x4);
    const int16_t a0 = Adds(s04, tp26);
    const int16_t a3 = Subs(s04, tp26);
    const int16_t a1 = Adds(d04, tm26);
    const int16_t a2 = Subs(d04, tm26);
    b[0] = int16_t(Adds(a0, b0) >> kAp922ColumnShift);
    b[8] = int16_t(Adds(a1, b1) >> kAp922ColumnShift);
    b[16] = int16_t(Adds(a2, b2) >> kAp922ColumnShift);
    b[24] = int16_t(Adds(a3, b3) >> kAp922ColumnShift);
    b[32] = int16_t(Subs(a3, b3) >> kAp922ColumnShift);
    b[40] = int16_t(Subs(a2, b2) >> kAp922ColumnShift);
    b[48] = int16_t(Subs(a1, b1) >> kAp922ColumnShift);
    b[56] = int16_t(Subs(a0, b0) >> kAp922ColumnShift);
}

} // namespace

void InverseTransformAp922Portable(int16_t* block)
{
    for (int i = 0; i < 8; ++i)
        Row(block + 8 * i, i);
    for (int i = 0; i < 8; ++i)
        Column(block + i);
}

} // namespace mpeg2video
