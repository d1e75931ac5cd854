// The inverse transform of ATSC A/52 section 7.9.4: one 512-sample transform (a 128-point complex
// FFT between pre- and post-twiddles) or, for a block-switched channel, two 256-sample transforms
// (64-point FFTs), then the Kaiser-Bessel-derived window and the overlap-add with the previous block.
#pragma once

#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define AC3_TRANSFORM_SSE2 1
#endif

namespace audio {

class Ac3Transform {
public:
    Ac3Transform(); // computes the window and the twiddle tables

    // coefficients[0..255] of one block in, 256 time samples out (in place); overlap[0..255] holds
    // the second half of the previous block's transform and receives this block's.
    void Inverse(float* coefficients, float* overlap, bool shortBlocks) const;

    const float* Window() const { return m_window; }
    // Leaves the SSE2 forms for the portable ones (same results), for tests that compare the two.
    void SelectPortable(bool portable) { m_portable = portable; }

private:
    // In place on separate real and imaginary arrays, which lets the compiler vectorise the
    // butterflies.
    void Fft(float* re, float* im, int log2Size) const; // log2Size 6 or 7
    // The stages after the first two (butterflies of 8 and more), of 2^Log2Size points.
    template <int Log2Size>
    void Butterflies(float* __restrict re, float* __restrict im) const;
#ifdef AC3_TRANSFORM_SSE2
    // The pre-twiddle of the 512-sample transform and the FFT's first two stages in one pass,
    // writing the bit-reversed order straight from the twiddled coefficients.
    void LongFirstStages(const float* X, float* zr, float* zi) const;
    // The FFT's later stages and the post-twiddle into yr, yi.
    void LongLastStages(float* zr, float* zi, float* yr, float* yi) const;
    // Butterflies of 2 and 4 on four groups of four, elements transposed in and groups out.
    static void FirstStages(__m128& r0, __m128& r1, __m128& r2, __m128& r3, __m128& i0, __m128& i1, __m128& i2,
                            __m128& i3);
#endif
    // Both end in Fold: the window, the overlap-add with the previous block and the new overlap,
    // from the transform outputs read forward (f) and backward from index 63 (r).
    void Long(float* coefficients, float* overlap) const;
    void Short(float* coefficients, float* overlap) const;
    void Fold(const float* const f[4], const float* const r[4], float* out, float* overlap) const;

    float m_window[256];
    // The window as Fold applies it: deinterleaved, with the outputs' signs, and twice the window
    // for the first half (the block's samples are twice the sum: doubling is exact in floats).
    float m_fold[8][64];
    float m_cos1[128], m_sin1[128]; // pre/post twiddles of the 512-sample transform
    float m_cos2[64], m_sin2[64];   // and of the 256-sample transforms
    // e^(+j pi m / half) for m < half, for half = 4, 8, 16, 32, 64 one after the other.
    float m_twiddleRe[124], m_twiddleIm[124];
    uint8_t m_reverse128[128];
    uint8_t m_reverse64[64];
    bool m_portable = false;
};

} // namespace audio
