// The polyphase synthesis filter bank of ISO/IEC 11172-3 for one channel: 32 subband samples in,
// 32 PCM samples out. The standard's shift of V by 64 is a moving offset in a 1,024-entry ring; the
// matrixing is a 32-point fast cosine transform.
#pragma once

#include <cstdint>

namespace audio {

class MpegSynthesisFilter {
public:
    MpegSynthesisFilter() { Reset(); }
    void Reset();
    void Run(const float* subbands, float* out);

private:
    float m_v[1024];
    unsigned m_offset;
};

} // namespace audio
