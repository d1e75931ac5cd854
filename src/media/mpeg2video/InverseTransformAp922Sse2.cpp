// The AP-922 inverse transform with SSE2: the row pass multiplies word pairs (pmaddwd) after word
// shuffles, the column pass works on all eight columns at once with saturating 16-bit arithmetic
// and high-half multiplies. Same results as InverseTransformAp922Portable. A block whose only
// coefficients are the first and the last (a DC term and the mismatch bit) skips the row passes of
// rows 1 to 6: each gives its rounder alone.
#include "media/mpeg2video/Routines.h"

#ifdef MPEG2VIDEO_SSE2

#include <emmintrin.h>

#include "media/mpeg2video/Ap922Constants.h"

namespace mpeg2video {

namespace {

struct alignas(16) RowTables {
    Ap922RowPairs pairs[4];
};

constexpr RowTables kTables = {{
    MakeAp922RowPairs(kAp922RowCosines[0]),
    MakeAp922RowPairs(kAp922RowCosines[1]),
    MakeAp922RowPairs(kAp922RowCosines[2]),
    MakeAp922RowPairs(kAp922RowCosines[3]),
}};

inline __m128i Load(const int16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

inline __m128i RowPass(__m128i x, const Ap922RowPairs& t, int32_t rounder)
{
    // Words (x0, x2, x1, x3, x4, x6, x5, x7): dwords hold the pairs (x0,x2), (x1,x3), (x4,x6), (x5,x7).
    __m128i w = _mm_shufflelo_epi16(x, _MM_SHUFFLE(3, 1, 2, 0));
    w = _mm_shufflehi_epi16(w, _MM_SHUFFLE(3, 1, 2, 0));
    const __m128i p = _mm_shuffle_epi32(w, _MM_SHUFFLE(0, 0, 0, 0));
    const __m128i r = _mm_shuffle_epi32(w, _MM_SHUFFLE(1, 1, 1, 1));
    const __m128i q = _mm_shuffle_epi32(w, _MM_SHUFFLE(2, 2, 2, 2));
    const __m128i s = _mm_shuffle_epi32(w, _MM_SHUFFLE(3, 3, 3, 3));
    __m128i a = _mm_add_epi32(_mm_madd_epi16(p, Load(t.p)), _mm_madd_epi16(q, Load(t.q)));
    const __m128i b = _mm_add_epi32(_mm_madd_epi16(r, Load(t.r)), _mm_madd_epi16(s, Load(t.s)));
    a = _mm_add_epi32(a, _mm_set1_epi32(rounder));
    const __m128i lo = _mm_srai_epi32(_mm_add_epi32(a, b), kAp922RowShift);
    __m128i hi = _mm_srai_epi32(_mm_sub_epi32(a, b), kAp922RowShift);
    hi = _mm_shuffle_epi32(hi, _MM_SHUFFLE(0, 1, 2, 3));
    return _mm_packs_epi32(lo, hi);
}

// The column pass over the eight row-pass outputs, written back as the block.
inline void ColumnPass(int16_t* block, __m128i x0, __m128i x1, __m128i x2, __m128i x3, __m128i x4, __m128i x5,
                       __m128i x6, __m128i x7)
{
    __m128i* const out = reinterpret_cast<__m128i*>(block);
    const __m128i tan1 = _mm_set1_epi16(kAp922Tan1);
    const __m128i tan2 = _mm_set1_epi16(kAp922Tan2);
    const __m128i tan3 = _mm_set1_epi16(kAp922Tan3m1);
    const __m128i cos4 = _mm_set1_epi16(kAp922Cos4);

    const __m128i tp17 = _mm_adds_epi16(x1, _mm_mulhi_epi16(x7, tan1));
    const __m128i tm17 = _mm_subs_epi16(_mm_mulhi_epi16(x1, tan1), x7);
    const __m128i tp35 = _mm_adds_epi16(x3, _mm_adds_epi16(x5, _mm_mulhi_epi16(x5, tan3)));
    const __m128i tm35 = _mm_subs_epi16(_mm_adds_epi16(x3, _mm_mulhi_epi16(x3, tan3)), x5);
    const __m128i b0 = _mm_adds_epi16(tp17, tp35);
    const __m128i b3 = _mm_subs_epi16(tm17, tm35);
    const __m128i u = _mm_subs_epi16(tp17, tp35);
    const __m128i v = _mm_adds_epi16(tm17, tm35);
    const __m128i h1 = _mm_mulhi_epi16(_mm_adds_epi16(v, u), cos4);
    const __m128i h2 = _mm_mulhi_epi16(_mm_subs_epi16(u, v), cos4);
    const __m128i b1 = _mm_adds_epi16(h1, h1);
    const __m128i b2 = _mm_adds_epi16(h2, h2);
    const __m128i tp26 = _mm_adds_epi16(x2, _mm_mulhi_epi16(x6, tan2));
    const __m128i tm26 = _mm_subs_epi16(_mm_mulhi_epi16(x2, tan2), x6);
    const __m128i s04 = _mm_adds_epi16(x0, x4);
    const __m128i d04 = _mm_subs_epi16(x0, x4);
    const __m128i a0 = _mm_adds_epi16(s04, tp26);
    const __m128i a3 = _mm_subs_epi16(s04, tp26);
    const __m128i a1 = _mm_adds_epi16(d04, tm26);
    const __m128i a2 = _mm_subs_epi16(d04, tm26);
    _mm_storeu_si128(out + 0, _mm_srai_epi16(_mm_adds_epi16(a0, b0), kAp922ColumnShift));
    _mm_storeu_si128(out + 1, _mm_srai_epi16(_mm_adds_epi16(a1, b1), kAp922ColumnShift));
    _mm_storeu_si128(out + 2, _mm_srai_epi16(_mm_adds_epi16(a2, b2), kAp922ColumnShift));
    _mm_storeu_si128(out + 3, _mm_srai_epi16(_mm_adds_epi16(a3, b3), kAp922ColumnShift));
    _mm_storeu_si128(out + 4, _mm_srai_epi16(_mm_subs_epi16(a3, b3), kAp922ColumnShift));
    _mm_storeu_si128(out + 5, _mm_srai_epi16(_mm_subs_epi16(a2, b2), kAp922ColumnShift));
    _mm_storeu_si128(out + 6, _mm_srai_epi16(_mm_subs_epi16(a1, b1), kAp922ColumnShift));
    _mm_storeu_si128(out + 7, _mm_srai_epi16(_mm_subs_epi16(a0, b0), kAp922ColumnShift));
}

// What the row pass makes of a row of zeros: its rounder alone.
inline __m128i ZeroRow(int row) { return _mm_set1_epi16(int16_t(kAp922Rounder[row] >> kAp922RowShift)); }

} // namespace

void InverseTransformAp922Sse2(int16_t* block)
{
    ColumnPass(block, RowPass(Load(block + 0), kTables.pairs[0], kAp922Rounder[0]),
               RowPass(Load(block + 8), kTables.pairs[1], kAp922Rounder[1]),
               RowPass(Load(block + 16), kTables.pairs[2], kAp922Rounder[2]),
               RowPass(Load(block + 24), kTables.pairs[3], kAp922Rounder[3]),
               RowPass(Load(block + 32), kTables.pairs[0], kAp922Rounder[4]),
               RowPass(Load(block + 40), kTables.pairs[3], kAp922Rounder[5]),
               RowPass(Load(block + 48), kTables.pairs[2], kAp922Rounder[6]),
               RowPass(Load(block + 56), kTables.pairs[1], kAp922Rounder[7]));
}

void InverseTransformAp922DcSse2(int16_t* block)
{
    // The two coefficients are read on their own: a wide load of the rows just written by narrow
    // stores would wait for them to leave the store buffer.
    const __m128i first = _mm_cvtsi32_si128(uint16_t(block[0]));
    const __m128i last = _mm_insert_epi16(_mm_setzero_si128(), block[63], 7);
    ColumnPass(block, RowPass(first, kTables.pairs[0], kAp922Rounder[0]), ZeroRow(1), ZeroRow(2), ZeroRow(3),
               ZeroRow(4), ZeroRow(5), ZeroRow(6), RowPass(last, kTables.pairs[1], kAp922Rounder[7]));
}

} // namespace mpeg2video

#endif
