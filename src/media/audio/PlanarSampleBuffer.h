// One decoded frame as six planes of 32-bit floats (nominal range -1.0 to 1.0), the form in which
// the frame decoders hand their output to the mixer. Plane k holds the decoder's channel k.
#pragma once

#include <cstdint>

namespace audio {

class PlanarSampleBuffer {
public:
    static constexpr int kPlanes = 6;
    // Presence flags: which kinds of channel the planes carry.
    static constexpr uint8_t kCentre = 0x01;
    static constexpr uint8_t kFront = 0x02;
    static constexpr uint8_t kSurround = 0x04;
    static constexpr uint8_t kLfe = 0x08;

    PlanarSampleBuffer() = default;
    ~PlanarSampleBuffer() { Free(); }
    PlanarSampleBuffer(const PlanarSampleBuffer&) = delete;
    PlanarSampleBuffer& operator=(const PlanarSampleBuffer&) = delete;

    // Keeps the planes when both values are unchanged; otherwise allocates six zeroed planes of
    // `samples` floats. False (and an empty buffer) when the allocation fails.
    bool Resize(uint32_t channels, uint32_t samples);
    void Free();

    uint8_t presence = 0;
    uint32_t channels = 0;
    uint32_t samples = 0;
    float* planes[kPlanes] = {};
};

} // namespace audio
