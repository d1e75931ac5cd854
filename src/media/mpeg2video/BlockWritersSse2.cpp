// SSE2 block writers: saturating 16-bit additions and unsigned saturating packing give the bytes
// of the portable writers' clamp table.
#include "media/mpeg2video/Routines.h"

#ifdef MPEG2VIDEO_SSE2

#include <emmintrin.h>

namespace mpeg2video {

void PutBlockSse2(const uint8_t*, const int16_t* block, uint8_t* dest, ptrdiff_t pitch)
{
    const __m128i bias = _mm_set1_epi16(128);
    for (int y = 0; y < 8; y += 2) {
        const __m128i r0 = _mm_adds_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 8 * y)), bias);
        const __m128i r1 = _mm_adds_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 8 * y + 8)), bias);
        const __m128i packed = _mm_packus_epi16(r0, r1);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dest), packed);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dest + pitch), _mm_srli_si128(packed, 8));
        dest += 2 * pitch;
    }
}

void AddBlockSse2(const uint8_t*, const int16_t* block, uint8_t* dest, ptrdiff_t pitch)
{
    const __m128i zero = _mm_setzero_si128();
    for (int y = 0; y < 8; y += 2) {
        const __m128i d0 = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(dest)), zero);
        const __m128i d1 = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(dest + pitch)), zero);
        const __m128i r0 = _mm_adds_epi16(d0, _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 8 * y)));
        const __m128i r1 = _mm_adds_epi16(d1, _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 8 * y + 8)));
        const __m128i packed = _mm_packus_epi16(r0, r1);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dest), packed);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dest + pitch), _mm_srli_si128(packed, 8));
        dest += 2 * pitch;
    }
}

} // namespace mpeg2video

#endif
