// SSE2 prediction routines: 16 or 8 samples a row (the width's 16 bit decides). Half-sample
// averages of two samples use the byte averaging instruction, which rounds as (a + b + 1) >> 1;
// the four-sample average is done in 16-bit lanes to keep its exact rounding.
#include "media/mpeg2video/Routines.h"

#ifdef MPEG2VIDEO_SSE2

#include <emmintrin.h>

namespace mpeg2video {

namespace {

enum Kind { kFull, kVertical, kHorizontal, kBoth };

inline __m128i Load16(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline __m128i Load8(const uint8_t* p) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)); }

template <Kind kind, bool wide>
inline __m128i Sample(const uint8_t* s, ptrdiff_t neighbour)
{
    auto load = [](const uint8_t* p) { return wide ? Load16(p) : Load8(p); };
    switch (kind) {
    case kFull: return load(s);
    case kVertical: return _mm_avg_epu8(load(s), load(s + neighbour));
    case kHorizontal: return _mm_avg_epu8(load(s), load(s + 1));
    default: {
        const __m128i zero = _mm_setzero_si128();
        const __m128i a = load(s), b = load(s + 1), c = load(s + neighbour), d = load(s + neighbour + 1);
        const __m128i two = _mm_set1_epi16(2);
        __m128i lo = _mm_add_epi16(_mm_add_epi16(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero)),
                                   _mm_add_epi16(_mm_unpacklo_epi8(c, zero), _mm_unpacklo_epi8(d, zero)));
        lo = _mm_srli_epi16(_mm_add_epi16(lo, two), 2);
        if (!wide)
            return _mm_packus_epi16(lo, zero);
        __m128i hi = _mm_add_epi16(_mm_add_epi16(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero)),
                                   _mm_add_epi16(_mm_unpackhi_epi8(c, zero), _mm_unpackhi_epi8(d, zero)));
        hi = _mm_srli_epi16(_mm_add_epi16(hi, two), 2);
        return _mm_packus_epi16(lo, hi);
    }
    }
}

template <Kind kind, bool average, bool wide>
inline void Rows(uint8_t* d, const uint8_t* s, int rows, ptrdiff_t neighbour, ptrdiff_t step)
{
    for (int y = 0; y < rows; ++y, d += step, s += step) {
        __m128i p = Sample<kind, wide>(s, neighbour);
        if (wide) {
            if (average)
                p = _mm_avg_epu8(p, Load16(d));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d), p);
        } else {
            if (average)
                p = _mm_avg_epu8(p, Load8(d));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(d), p);
        }
    }
}

template <Kind kind, bool average>
void Predict(uint8_t* d, const uint8_t* s, int width, int rows, ptrdiff_t neighbour, ptrdiff_t step)
{
    if (width & 16)
        Rows<kind, average, true>(d, s, rows, neighbour, step);
    else
        Rows<kind, average, false>(d, s, rows, neighbour, step);
}

} // namespace

const PredictionRoutine kSse2Prediction[kPredictionSlots] = {
    Predict<kFull, false>,    Predict<kVertical, false>, Predict<kHorizontal, false>, Predict<kBoth, false>,
    Predict<kFull, true>,     Predict<kVertical, true>,  Predict<kHorizontal, true>,  Predict<kBoth, true>,
};

} // namespace mpeg2video

#endif
