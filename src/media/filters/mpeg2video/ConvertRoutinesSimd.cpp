// Vector forms of the line routines (x86-64 always has SSE2; the MMX routines keep the MMX
// arithmetic, averaging down and 16-bit lanes, in SSE2 registers).
#include <emmintrin.h>

#include <cstring>

#include "media/filters/mpeg2video/ConvertRoutines.h"

namespace mpeg2videofilter {

namespace {

inline __m128i Load4(const uint8_t* p)
{
    int v;
    std::memcpy(&v, p, 4);
    return _mm_cvtsi32_si128(v);
}

inline __m128i AverageDown(__m128i a, __m128i b)
{
    // pavgb rounds up; taking back the carried low bit rounds down.
    return _mm_sub_epi8(_mm_avg_epu8(a, b), _mm_and_si128(_mm_xor_si128(a, b), _mm_set1_epi8(1)));
}

template <bool RoundUp>
void LineYuy2(const LineSources& s, uint8_t* dst, uint32_t pairs)
{
    uint32_t k = 0;
    for (; k + 8 <= pairs; k += 8) {
        const __m128i ya = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.yA + 2 * k));
        const __m128i yb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.yB + 2 * k));
        const __m128i ua = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s.uA + k));
        const __m128i ub = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s.uB + k));
        const __m128i va = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s.vA + k));
        const __m128i vb = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s.vB + k));
        const __m128i y = RoundUp ? _mm_avg_epu8(ya, yb) : AverageDown(ya, yb);
        const __m128i u = RoundUp ? _mm_avg_epu8(ua, ub) : AverageDown(ua, ub);
        const __m128i v = RoundUp ? _mm_avg_epu8(va, vb) : AverageDown(va, vb);
        const __m128i uv = _mm_unpacklo_epi8(u, v);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * k), _mm_unpacklo_epi8(y, uv));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * k + 16), _mm_unpackhi_epi8(y, uv));
    }
    const int up = RoundUp ? 1 : 0;
    for (; k < pairs; ++k) {
        uint8_t* p = dst + 4 * size_t(k);
        p[0] = static_cast<uint8_t>((s.yA[2 * k] + s.yB[2 * k] + up) >> 1);
        p[1] = static_cast<uint8_t>((s.uA[k] + s.uB[k] + up) >> 1);
        p[2] = static_cast<uint8_t>((s.yA[2 * k + 1] + s.yB[2 * k + 1] + up) >> 1);
        p[3] = static_cast<uint8_t>((s.vA[k] + s.vB[k] + up) >> 1);
    }
}

} // namespace

void LineYuy2Mmx(const LineSources& s, uint8_t* dst, uint32_t pairs) { LineYuy2<false>(s, dst, pairs); }
void LineYuy2Sse2(const LineSources& s, uint8_t* dst, uint32_t pairs) { LineYuy2<true>(s, dst, pairs); }

void LineRgb32Mmx(const LineSources& s, uint8_t* dst, uint32_t pixels)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i c16 = _mm_set1_epi16(16), c128 = _mm_set1_epi16(128);
    const __m128i k37 = _mm_set1_epi16(37), k64 = _mm_set1_epi16(64), k12 = _mm_set1_epi16(12);
    const __m128i k26 = _mm_set1_epi16(26), k51 = _mm_set1_epi16(51);
    uint32_t x = 0;
    for (; x + 8 <= pixels; x += 8) {
        const __m128i y8 = AverageDown(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(s.yA + x)),
                                       _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s.yB + x)));
        const __m128i u8 = AverageDown(Load4(s.uA + x / 2),
                                       Load4(s.uB + x / 2));
        const __m128i v8 = AverageDown(Load4(s.vA + x / 2),
                                       Load4(s.vB + x / 2));
        const __m128i y = _mm_mullo_epi16(_mm_sub_epi16(_mm_unpacklo_epi8(y8, zero), c16), k37);
        // Each chroma sample serves two neighbouring pixels.
        __m128i u = _mm_sub_epi16(_mm_unpacklo_epi8(u8, zero), c128);
        __m128i v = _mm_sub_epi16(_mm_unpacklo_epi8(v8, zero), c128);
        u = _mm_unpacklo_epi16(u, u);
        v = _mm_unpacklo_epi16(v, v);
        const __m128i yr = _mm_add_epi16(y, c16);
        const __m128i b = _mm_srai_epi16(_mm_add_epi16(yr, _mm_mullo_epi16(u, k64)), 5);
        const __m128i g =
            _mm_srai_epi16(_mm_sub_epi16(_mm_sub_epi16(yr, _mm_mullo_epi16(u, k12)), _mm_mullo_epi16(v, k26)), 5);
        const __m128i r = _mm_srai_epi16(_mm_add_epi16(yr, _mm_mullo_epi16(v, k51)), 5);
        const __m128i b8 = _mm_packus_epi16(b, zero), g8 = _mm_packus_epi16(g, zero), r8 = _mm_packus_epi16(r, zero);
        const __m128i bg = _mm_unpacklo_epi8(b8, g8);
        const __m128i r0 = _mm_unpacklo_epi8(r8, zero);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * x), _mm_unpacklo_epi16(bg, r0));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * x + 16), _mm_unpackhi_epi16(bg, r0));
    }
    LineRgb32MmxTail(s, dst, x, pixels);
}

} // namespace mpeg2videofilter
