#include "media/audio/MpegSynthesisFilter.h"

#include <cmath>
#include <cstring>

#include "media/audio/MpegAudioTables.h"

namespace audio {

namespace {

struct SynthesisTables {
    // Factors 1 / (2 cos((2i + 1) pi / (2n))) of the even/odd splits for n = 32, 16, 8, 4, 2.
    float split32[16], split16[8], split8[4], split4[2], split2[1];
    // The window, doubled: each 64-entry block of D with its two halves in V's order.
    float window[512];

    SynthesisTables()
    {
        const double pi = 3.14159265358979323846;
        auto fill = [&](float* f, int n) {
            for (int i = 0; i < n / 2; ++i)
                f[i] = static_cast<float>(1.0 / (2.0 * std::cos((2 * i + 1) * pi / (2.0 * n))));
        };
        fill(split32, 32);
        fill(split16, 16);
        fill(split8, 8);
        fill(split4, 4);
        fill(split2, 2);
        for (int i = 0; i < 512; ++i)
            window[i] = static_cast<float>(mpa::kWindow[i] / 65536.0);
    }
};

const SynthesisTables& Tables()
{
    static const SynthesisTables tables;
    return tables;
}

// The recursion is unrolled into one body: called, its small levels cost more than they compute.
#if defined(__GNUC__)
#define SYNTHESIS_INLINE inline __attribute__((always_inline))
#else
#define SYNTHESIS_INLINE inline
#endif

// DCT-II, X[m] = sum x[k] cos(pi m (2k + 1) / (2n)), by recursive even/odd splitting.
template <int N>
SYNTHESIS_INLINE void Dct(const float* x, float* X, const float* const* splits)
{
    float a[N / 2], b[N / 2], A[N / 2], B[N / 2];
    const float* f = splits[0];
    for (int k = 0; k < N / 2; ++k) {
        a[k] = x[k] + x[N - 1 - k];
        b[k] = (x[k] - x[N - 1 - k]) * f[k];
    }
    Dct<N / 2>(a, A, splits + 1);
    Dct<N / 2>(b, B, splits + 1);
    for (int m = 0; m < N / 2; ++m) {
        X[2 * m] = A[m];
        X[2 * m + 1] = B[m] + (m + 1 < N / 2 ? B[m + 1] : 0.0f);
    }
}

template <>
SYNTHESIS_INLINE void Dct<1>(const float* x, float* X, const float* const*)
{
    X[0] = x[0];
}

} // namespace

void MpegSynthesisFilter::Reset()
{
    std::memset(m_v, 0, sizeof m_v);
    m_offset = 64;
}

void MpegSynthesisFilter::Run(const float* s, float* out)
{
    const SynthesisTables& t = Tables();
    static const float* const splits[5] = {t.split32, t.split16, t.split8, t.split4, t.split2};
    float X[32];
    Dct<32>(s, X, splits);

    // V[i] = sum S[k] cos((16 + i)(2k + 1) pi / 64), i = 0..63, from the cosine transform.
    m_offset = (m_offset - 64) & 1023;
    float* v = m_v + m_offset;
    for (int i = 0; i < 16; ++i)
        v[i] = X[16 + i];
    v[16] = 0.0f;
    for (int i = 17; i < 48; ++i)
        v[i] = -X[48 - i];
    v[48] = -X[0];
    for (int i = 49; i < 64; ++i)
        v[i] = -X[i - 48];

    // out[j] = sum over q of V(age 2q)[j] D[64q + j] + V(age 2q + 1)[32 + j] D[64q + 32 + j].
    const float* w = t.window;
    float acc[32] = {};
    for (int q = 0; q < 8; ++q) {
        const float* even = m_v + ((m_offset + 128 * q) & 1023);
        const float* odd = m_v + ((m_offset + 128 * q + 64) & 1023) + 32;
        const float* d = w + 64 * q;
        for (int j = 0; j < 32; ++j)
            acc[j] += even[j] * d[j] + odd[j] * d[32 + j];
    }
    for (int j = 0; j < 32; ++j)
        out[j] = acc[j];
}

} // namespace audio
