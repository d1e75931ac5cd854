#include "media/audio/PlanarMixer.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace audio {

namespace {

constexpr float kMinus3dB = 0.707f;

inline int16_t ToPcm(float value)
{
    // Comparisons written so that a NaN also ends at a limit instead of an undefined conversion.
    if (!(value > -32768.0f))
        return -32768;
    if (!(value < 32767.0f))
        return 32767;
    return static_cast<int16_t>(static_cast<int32_t>(value)); // truncation toward zero
}

} // namespace

void PlanarMixer::BuildGains(const PlanarSampleBuffer& planes, float g[6][6])
{
    for (int r = 0; r < 6; ++r)
        for (int k = 0; k < 6; ++k)
            g[r][k] = 0.0f;
    const bool lfe = (planes.presence & PlanarSampleBuffer::kLfe) != 0;
    const int total = static_cast<int>(planes.channels > 6 ? 6 : planes.channels);
    const int full = lfe && total > 0 ? total - 1 : total;
    const bool centre = (planes.presence & PlanarSampleBuffer::kCentre) != 0;
    const bool surround = (planes.presence & PlanarSampleBuffer::kSurround) != 0;

    // Work out which plane carries which channel (bit-stream order: L, [C], R, [S | Ls, Rs]).
    int left = -1, mid = -1, right = -1, surroundLeft = -1, surroundRight = -1;
    if (full == 1) {
        mid = 0; // one channel, centre or mono: both sides
    } else if (full >= 2) {
        int k = 0;
        left = k++;
        if (centre && full >= 3)
            mid = k++;
        right = k++;
        if (surround && k < full) {
            surroundLeft = k++;
            surroundRight = k < full ? k++ : -1;
        }
    }
    if (left >= 0)
        g[kLeft][left] = 1.0f;
    if (right >= 0)
        g[kRight][right] = 1.0f;
    if (mid >= 0) {
        const float gain = full == 1 ? 1.0f : kMinus3dB;
        g[kLeft][mid] = gain;
        g[kRight][mid] = gain;
        g[kCentre][mid] = 1.0f;
    }
    if (surroundLeft >= 0 && surroundRight >= 0) {
        g[kLeft][surroundLeft] = 1.0f;
        g[kRight][surroundRight] = 1.0f;
        g[kLeftSurround][surroundLeft] = 1.0f;
        g[kRightSurround][surroundRight] = 1.0f;
    } else if (surroundLeft >= 0) { // one surround channel: into both sides at -3 dB
        g[kLeft][surroundLeft] = kMinus3dB;
        g[kRight][surroundLeft] = kMinus3dB;
        g[kLeftSurround][surroundLeft] = kMinus3dB;
        g[kRightSurround][surroundLeft] = kMinus3dB;
    }
    if (lfe && total >= 1)
        for (int r = 0; r < 6; ++r)
            g[r][total - 1] = 1.0f;

    for (int r = 0; r < 6; ++r) {
        double sum = 0;
        for (int k = 0; k < 6; ++k)
            sum += g[r][k];
        if (sum > 0.9)
            for (int k = 0; k < 6; ++k)
                g[r][k] = static_cast<float>(g[r][k] * (0.9 / sum));
    }
}

void PlanarMixer::Mix(const AudioFrameDecoder::OutputFormat& format, const PlanarSampleBuffer& planes,
                      void* destination, int32_t& count) const
{
    count = 0;
    if (!destination || format.channels != 2 || format.bitsPerSample != 16 || !planes.planes[0])
        return;
    int32_t samples = SamplesPerFrame();
    if (samples <= 0)
        return;
    if (static_cast<uint32_t>(samples) > planes.samples)
        samples = static_cast<int32_t>(planes.samples);

    float g[6][6];
    BuildGains(planes, g);
    // Only the planes that reach an output side take part in the loop.
    const float* source[6];
    float left[6], right[6];
    int used = 0;
    const float scale = format.gain * 32700.0f;
    for (int k = 0; k < 6; ++k) {
        if (g[kLeft][k] != 0.0f || g[kRight][k] != 0.0f) {
            source[used] = planes.planes[k];
            left[used] = g[kLeft][k] * scale;
            right[used] = g[kRight][k] * scale;
            ++used;
        }
    }
    int16_t* out = static_cast<int16_t*>(destination);
    int32_t i = 0;
#if defined(__SSE2__)
    // Four samples at a time, with the same sums in the same order as the loop below, clamped the
    // same way (maxps gives its second operand for a NaN, so a NaN ends at -32768 here too) and
    // truncated toward zero.
    const __m128 low = _mm_set1_ps(-32768.0f), high = _mm_set1_ps(32767.0f);
    for (; i + 4 <= samples; i += 4) {
        __m128 l = _mm_setzero_ps(), r = _mm_setzero_ps();
        for (int k = 0; k < used; ++k) {
            const __m128 v = _mm_loadu_ps(source[k] + i);
            l = _mm_add_ps(l, _mm_mul_ps(_mm_set1_ps(left[k]), v));
            r = _mm_add_ps(r, _mm_mul_ps(_mm_set1_ps(right[k]), v));
        }
        const __m128i l32 = _mm_cvttps_epi32(_mm_min_ps(_mm_max_ps(l, low), high));
        const __m128i r32 = _mm_cvttps_epi32(_mm_min_ps(_mm_max_ps(r, low), high));
        const __m128i l16 = _mm_packs_epi32(l32, l32), r16 = _mm_packs_epi32(r32, r32);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i), _mm_unpacklo_epi16(l16, r16));
    }
#endif
    for (; i < samples; ++i) {
        float l = 0.0f, r = 0.0f;
        for (int k = 0; k < used; ++k) {
            const float v = source[k][i];
            l += left[k] * v;
            r += right[k] * v;
        }
        out[2 * i] = ToPcm(l);
        out[2 * i + 1] = ToPcm(r);
    }
    count = samples;
}

} // namespace audio
