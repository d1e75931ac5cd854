#include "media/audio/Ac3Transform.h"

#include <cmath>
#include <utility>

namespace audio {

namespace {

constexpr double kPi = 3.14159265358979323846;

uint8_t Reverse(unsigned value, int bits)
{
    unsigned r = 0;
    for (int i = 0; i < bits; ++i)
        r |= ((value >> i) & 1u) << (bits - 1 - i);
    return static_cast<uint8_t>(r);
}

#ifdef AC3_TRANSFORM_SSE2
// Four groups of four complex values after the first two stages, at re, im and the offsets given.
inline void StoreGroups(float* re, float* im, int second, int third, int fourth, __m128 r0, __m128 r1, __m128 r2,
                        __m128 r3, __m128 i0, __m128 i1, __m128 i2, __m128 i3)
{
    _mm_storeu_ps(re, r0);
    _mm_storeu_ps(re + second, r1);
    _mm_storeu_ps(re + third, r2);
    _mm_storeu_ps(re + fourth, r3);
    _mm_storeu_ps(im, i0);
    _mm_storeu_ps(im + second, i1);
    _mm_storeu_ps(im + third, i2);
    _mm_storeu_ps(im + fourth, i3);
}
#endif

} // namespace

Ac3Transform::Ac3Transform()
{
    // Kaiser-Bessel-derived window, alpha 5 (A/52 section 7.9.4): the running sum of the Kaiser
    // kernel, each term a series evaluated from its innermost term outward.
    double kernel[256];
    double total = 0;
    for (int n = 0; n < 256; ++n) {
        const double u = n * (256.0 - n) * (5.0 * kPi / 256.0) * (5.0 * kPi / 256.0);
        double w = 1.0;
        for (int k = 100; k >= 1; --k)
            w = 1.0 + w * u / (double(k) * k);
        kernel[n] = w;
        total += w;
    }
    double running = 0;
    for (int n = 0; n < 256; ++n) {
        running += kernel[n];
        m_window[n] = static_cast<float>(std::sqrt(running / (total + 1.0)));
    }
    for (int n = 0; n < 64; ++n) {
        m_fold[0][n] = -2.0f * m_window[2 * n];
        m_fold[1][n] = 2.0f * m_window[2 * n + 1];
        m_fold[2][n] = -2.0f * m_window[128 + 2 * n];
        m_fold[3][n] = 2.0f * m_window[128 + 2 * n + 1];
        m_fold[4][n] = -m_window[255 - 2 * n];
        m_fold[5][n] = m_window[254 - 2 * n];
        m_fold[6][n] = m_window[127 - 2 * n];
        m_fold[7][n] = -m_window[126 - 2 * n];
    }
    for (int k = 0; k < 128; ++k) {
        m_cos1[k] = static_cast<float>(-std::cos(2.0 * kPi * (8 * k + 1) / (8.0 * 512)));
        m_sin1[k] = static_cast<float>(-std::sin(2.0 * kPi * (8 * k + 1) / (8.0 * 512)));
    }
    for (int k = 0; k < 64; ++k) {
        m_cos2[k] = static_cast<float>(-std::cos(2.0 * kPi * (8 * k + 1) / (4.0 * 512)));
        m_sin2[k] = static_cast<float>(-std::sin(2.0 * kPi * (8 * k + 1) / (4.0 * 512)));
    }
    int at = 0;
    for (int half = 4; half <= 64; half <<= 1)
        for (int m = 0; m < half; ++m, ++at) {
            // The same angles as 2 pi (m 64 / half) / 128.
            const int k = m * (64 / half);
            m_twiddleRe[at] = static_cast<float>(std::cos(2.0 * kPi * k / 128));
            m_twiddleIm[at] = static_cast<float>(std::sin(2.0 * kPi * k / 128));
        }
    for (unsigned i = 0; i < 128; ++i)
        m_reverse128[i] = Reverse(i, 7);
    for (unsigned i = 0; i < 64; ++i)
        m_reverse64[i] = Reverse(i, 6);
}

template <int Log2Size>
void Ac3Transform::Butterflies(float* __restrict re, float* __restrict im) const
{
    constexpr int size = 1 << Log2Size;
    const float* wr = m_twiddleRe;
    const float* wi = m_twiddleIm;
    for (int half = 4; half < size; wr += half, wi += half, half <<= 1) {
        for (int start = 0; start < size; start += 2 * half) {
            float* tr = re + start;
            float* ti = im + start;
            float* br = tr + half;
            float* bi = ti + half;
            for (int m = 0; m < half; ++m) {
                const float xr = br[m] * wr[m] - bi[m] * wi[m];
                const float xi = br[m] * wi[m] + bi[m] * wr[m];
                br[m] = tr[m] - xr;
                bi[m] = ti[m] - xi;
                tr[m] = tr[m] + xr;
                ti[m] = ti[m] + xi;
            }
        }
    }
}

// In-place radix-2 transform with positive exponent, input already in bit-reversed order.
void Ac3Transform::Fft(float* re, float* im, int log2Size) const
{
    const int size = 1 << log2Size;
    // First two stages by hand: butterflies of 2 and 4 need no multiplications.
    int i = 0;
#ifdef AC3_TRANSFORM_SSE2
    // Four groups of four at a time, transposed so that each vector holds the same element of the
    // four groups.
    for (; !m_portable && i < size; i += 16) {
        __m128 r0 = _mm_loadu_ps(re + i), r1 = _mm_loadu_ps(re + i + 4), r2 = _mm_loadu_ps(re + i + 8),
               r3 = _mm_loadu_ps(re + i + 12);
        __m128 i0 = _mm_loadu_ps(im + i), i1 = _mm_loadu_ps(im + i + 4), i2 = _mm_loadu_ps(im + i + 8),
               i3 = _mm_loadu_ps(im + i + 12);
        _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
        _MM_TRANSPOSE4_PS(i0, i1, i2, i3);
        FirstStages(r0, r1, r2, r3, i0, i1, i2, i3);
        StoreGroups(re + i, im + i, 4, 8, 12, r0, r1, r2, r3, i0, i1, i2, i3);
    }
#endif
    for (; i < size; i += 4) {
        const float ar = re[i], ai = im[i], br = re[i + 1], bi = im[i + 1];
        const float cr = re[i + 2], ci = im[i + 2], er = re[i + 3], ei = im[i + 3];
        const float s0r = ar + br, s0i = ai + bi, s1r = ar - br, s1i = ai - bi;
        const float s2r = cr + er, s2i = ci + ei, s3r = cr - er, s3i = ci - ei;
        re[i] = s0r + s2r;
        im[i] = s0i + s2i;
        re[i + 2] = s0r - s2r;
        im[i + 2] = s0i - s2i;
        // s3 times +j
        re[i + 1] = s1r - s3i;
        im[i + 1] = s1i + s3r;
        re[i + 3] = s1r + s3i;
        im[i + 3] = s1i - s3r;
    }
    if (log2Size == 7)
        Butterflies<7>(re, im);
    else
        Butterflies<6>(re, im);
}

#ifdef AC3_TRANSFORM_SSE2
// The first two stages on four groups of four, each vector holding the same element of the four
// groups: the same additions in the same order as the portable form, so the same results.
void Ac3Transform::FirstStages(__m128& r0, __m128& r1, __m128& r2, __m128& r3, __m128& i0, __m128& i1, __m128& i2,
                               __m128& i3)
{
    const __m128 s0r = _mm_add_ps(r0, r1), s0i = _mm_add_ps(i0, i1);
    const __m128 s1r = _mm_sub_ps(r0, r1), s1i = _mm_sub_ps(i0, i1);
    const __m128 s2r = _mm_add_ps(r2, r3), s2i = _mm_add_ps(i2, i3);
    const __m128 s3r = _mm_sub_ps(r2, r3), s3i = _mm_sub_ps(i2, i3);
    r0 = _mm_add_ps(s0r, s2r);
    i0 = _mm_add_ps(s0i, s2i);
    r2 = _mm_sub_ps(s0r, s2r);
    i2 = _mm_sub_ps(s0i, s2i);
    r1 = _mm_sub_ps(s1r, s3i);
    i1 = _mm_add_ps(s1i, s3r);
    r3 = _mm_add_ps(s1r, s3i);
    i3 = _mm_sub_ps(s1i, s3r);
    _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
    _MM_TRANSPOSE4_PS(i0, i1, i2, i3);
}
#endif

void Ac3Transform::Fold(const float* const f[4], const float* const r[4], float* __restrict out,
                        float* __restrict overlap) const
{
    const float* const r0 = r[0] + 63;
    const float* const r1 = r[1] + 63;
    const float* const r2 = r[2] + 63;
    const float* const r3 = r[3] + 63;
    for (int n = 0; n < 64; ++n) {
        // Samples 0..255 are twice the sum of this block's first half and the overlap, 256..511
        // the next block's overlap: 2 (x + o) = 2x + 2o exactly, and 2x comes from the table.
        const float o0 = overlap[2 * n], o1 = overlap[2 * n + 1];
        const float o2 = overlap[128 + 2 * n], o3 = overlap[128 + 2 * n + 1];
        out[2 * n] = f[0][n] * m_fold[0][n] + 2.0f * o0;
        out[2 * n + 1] = r0[-n] * m_fold[1][n] + 2.0f * o1;
        out[128 + 2 * n] = f[1][n] * m_fold[2][n] + 2.0f * o2;
        out[128 + 2 * n + 1] = r1[-n] * m_fold[3][n] + 2.0f * o3;
        overlap[2 * n] = f[2][n] * m_fold[4][n];
        overlap[2 * n + 1] = r2[-n] * m_fold[5][n];
        overlap[128 + 2 * n] = f[3][n] * m_fold[6][n];
        overlap[128 + 2 * n + 1] = r3[-n] * m_fold[7][n];
    }
}

void Ac3Transform::Long(float* X, float* overlap) const
{
    float zr[128], zi[128], yr[128], yi[128];
#ifdef AC3_TRANSFORM_SSE2
    if (!m_portable) {
        LongFirstStages(X, zr, zi);
        LongLastStages(zr, zi, yr, yi);
    } else
#endif
    {
        for (int k = 0; k < 128; ++k) {
            const float re = X[255 - 2 * k], im = X[2 * k];
            zr[m_reverse128[k]] = re * m_cos1[k] - im * m_sin1[k];
            zi[m_reverse128[k]] = re * m_sin1[k] + im * m_cos1[k];
        }
        Fft(zr, zi, 7);
        for (int n = 0; n < 128; ++n) {
            yr[n] = zr[n] * m_cos1[n] - zi[n] * m_sin1[n];
            yi[n] = zr[n] * m_sin1[n] + zi[n] * m_cos1[n];
        }
    }
    const float* const f[4] = {yi + 64, yr, yr + 64, yi};
    const float* const r[4] = {yr, yi + 64, yi, yr + 64};
    Fold(f, r, X, overlap);
}

#ifdef AC3_TRANSFORM_SSE2
void Ac3Transform::LongFirstStages(const float* X, float* zr, float* zi) const
{
    // The pre-twiddle of four k at a time: the even coefficients 2k.. forward, the odd ones
    // 255 - 2k.. backward, the same products and sums as the portable form.
    auto twiddle = [&](int k, __m128& r, __m128& q) {
        const __m128 lo = _mm_loadu_ps(X + 2 * k), hi = _mm_loadu_ps(X + 2 * k + 4);
        const __m128 im = _mm_shuffle_ps(lo, hi, _MM_SHUFFLE(2, 0, 2, 0));
        const __m128 back = _mm_loadu_ps(X + 252 - 2 * k), before = _mm_loadu_ps(X + 248 - 2 * k);
        const __m128 re = _mm_shuffle_ps(back, before, _MM_SHUFFLE(1, 3, 1, 3));
        const __m128 c = _mm_loadu_ps(m_cos1 + k), sn = _mm_loadu_ps(m_sin1 + k);
        r = _mm_sub_ps(_mm_mul_ps(re, c), _mm_mul_ps(im, sn));
        q = _mm_add_ps(_mm_mul_ps(re, sn), _mm_mul_ps(im, c));
    };
    // The group of four at bit-reversed places 4g.. takes k0 = reverse(4g), k0 + 64, k0 + 32 and
    // k0 + 96, with k0 below 32: so the twiddled k0.., k0 + 64.., k0 + 32.. and k0 + 96.. are
    // elements 0 to 3 of four groups, already transposed for the first two stages, and the groups
    // of k0 + t sit at reverse(k0) + 0, 64, 32 and 96.
    for (int k0 = 0; k0 < 32; k0 += 4) {
        __m128 r0, r1, r2, r3, i0, i1, i2, i3;
        twiddle(k0, r0, i0);
        twiddle(k0 + 64, r1, i1);
        twiddle(k0 + 32, r2, i2);
        twiddle(k0 + 96, r3, i3);
        FirstStages(r0, r1, r2, r3, i0, i1, i2, i3);
        const int at = m_reverse128[k0];
        StoreGroups(zr + at, zi + at, 64, 32, 96, r0, r1, r2, r3, i0, i1, i2, i3);
    }
}

namespace {

// The butterfly t, b -> t + b w, t - b w on four complex values a step.
inline void Butterfly(__m128& tr, __m128& ti, __m128& br, __m128& bi, const float* wr, const float* wi)
{
    const __m128 w_r = _mm_loadu_ps(wr), w_i = _mm_loadu_ps(wi);
    const __m128 xr = _mm_sub_ps(_mm_mul_ps(br, w_r), _mm_mul_ps(bi, w_i));
    const __m128 xi = _mm_add_ps(_mm_mul_ps(br, w_i), _mm_mul_ps(bi, w_r));
    br = _mm_sub_ps(tr, xr);
    bi = _mm_sub_ps(ti, xi);
    tr = _mm_add_ps(tr, xr);
    ti = _mm_add_ps(ti, xi);
}

// Two radix-2 stages of the 128-point FFT in one pass, butterflies of Half and 2 Half, on four
// values at Half apart held in registers: the same products and sums as the portable stages.
// The twiddles of the stage of half-size h start at h - 4.
template <int Half>
inline void TwoStages(float* re, float* im, const float* twiddleRe, const float* twiddleIm)
{
    const float* const wr1 = twiddleRe + Half - 4;
    const float* const wi1 = twiddleIm + Half - 4;
    const float* const wr2 = twiddleRe + 2 * Half - 4;
    const float* const wi2 = twiddleIm + 2 * Half - 4;
    for (int start = 0; start < 128; start += 4 * Half)
        for (int m = 0; m < Half; m += 4) {
            float* const r = re + start + m;
            float* const i = im + start + m;
            __m128 r0 = _mm_loadu_ps(r), r1 = _mm_loadu_ps(r + Half), r2 = _mm_loadu_ps(r + 2 * Half),
                   r3 = _mm_loadu_ps(r + 3 * Half);
            __m128 i0 = _mm_loadu_ps(i), i1 = _mm_loadu_ps(i + Half), i2 = _mm_loadu_ps(i + 2 * Half),
                   i3 = _mm_loadu_ps(i + 3 * Half);
            Butterfly(r0, i0, r1, i1, wr1 + m, wi1 + m);
            Butterfly(r2, i2, r3, i3, wr1 + m, wi1 + m);
            Butterfly(r0, i0, r2, i2, wr2 + m, wi2 + m);
            Butterfly(r1, i1, r3, i3, wr2 + Half + m, wi2 + Half + m);
            _mm_storeu_ps(r, r0);
            _mm_storeu_ps(r + Half, r1);
            _mm_storeu_ps(r + 2 * Half, r2);
            _mm_storeu_ps(r + 3 * Half, r3);
            _mm_storeu_ps(i, i0);
            _mm_storeu_ps(i + Half, i1);
            _mm_storeu_ps(i + 2 * Half, i2);
            _mm_storeu_ps(i + 3 * Half, i3);
        }
}

// The post-twiddle of one vector: yr = zr cos - zi sin, yi = zr sin + zi cos.
inline void PostTwiddle(__m128 zr, __m128 zi, const float* c, const float* s, float* yr, float* yi)
{
    const __m128 vc = _mm_loadu_ps(c), vs = _mm_loadu_ps(s);
    _mm_storeu_ps(yr, _mm_sub_ps(_mm_mul_ps(zr, vc), _mm_mul_ps(zi, vs)));
    _mm_storeu_ps(yi, _mm_add_ps(_mm_mul_ps(zr, vs), _mm_mul_ps(zi, vc)));
}

} // namespace

void Ac3Transform::LongLastStages(float* zr, float* zi, float* yr, float* yi) const
{
    TwoStages<4>(zr, zi, m_twiddleRe, m_twiddleIm);
    TwoStages<16>(zr, zi, m_twiddleRe, m_twiddleIm);
    // The last stage hands its outputs straight to the post-twiddle.
    for (int m = 0; m < 64; m += 4) {
        __m128 ar = _mm_loadu_ps(zr + m), ai = _mm_loadu_ps(zi + m);
        __m128 br = _mm_loadu_ps(zr + 64 + m), bi = _mm_loadu_ps(zi + 64 + m);
        Butterfly(ar, ai, br, bi, m_twiddleRe + 60 + m, m_twiddleIm + 60 + m);
        PostTwiddle(ar, ai, m_cos1 + m, m_sin1 + m, yr + m, yi + m);
        PostTwiddle(br, bi, m_cos1 + 64 + m, m_sin1 + 64 + m, yr + 64 + m, yi + 64 + m);
    }
}
#endif

void Ac3Transform::Short(float* X, float* overlap) const
{
    float yr[2][64], yi[2][64];
    for (int t = 0; t < 2; ++t) {
        float zr[64], zi[64];
        for (int k = 0; k < 64; ++k) {
            const float re = X[2 * (127 - 2 * k) + t], im = X[2 * (2 * k) + t];
            zr[m_reverse64[k]] = re * m_cos2[k] - im * m_sin2[k];
            zi[m_reverse64[k]] = re * m_sin2[k] + im * m_cos2[k];
        }
        Fft(zr, zi, 6);
        for (int n = 0; n < 64; ++n) {
            yr[t][n] = zr[n] * m_cos2[n] - zi[n] * m_sin2[n];
            yi[t][n] = zr[n] * m_sin2[n] + zi[n] * m_cos2[n];
        }
    }
    const float* const f[4] = {yi[0], yr[0], yr[1], yi[1]};
    const float* const r[4] = {yr[0], yi[0], yi[1], yr[1]};
    Fold(f, r, X, overlap);
}

void Ac3Transform::Inverse(float* coefficients, float* overlap, bool shortBlocks) const
{
    if (shortBlocks)
        Short(coefficients, overlap);
    else
        Long(coefficients, overlap);
}

} // namespace audio
