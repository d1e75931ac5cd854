// Turns the planes of a decoded frame into interleaved two-channel 16-bit PCM. The gains depend on
// which channels the planes carry (their count and presence flags); each output row is limited to
// a gain sum of 0.9 so that samples of the nominal range stay inside 16 bits.
#pragma once

#include <cstdint>

#include "media/audio/AudioFrameDecoder.h"
#include "media/audio/PlanarSampleBuffer.h"

namespace audio {

class PlanarMixer {
public:
    virtual ~PlanarMixer() = default;
    // Samples per channel in the last decoded frame (0 when the frame kind has no output).
    virtual int32_t SamplesPerFrame() const = 0;

    // Output positions of the gain matrix's rows.
    enum Position { kLeft = 0, kCentre = 1, kRight = 2, kLeftSurround = 3, kRightSurround = 4, kLfe = 5 };
    // gains[r][k]: the gain of plane k into output position r, after the 0.9 row limit.
    static void BuildGains(const PlanarSampleBuffer& planes, float gains[6][6]);

    // Writes SamplesPerFrame() (at most the planes' length) interleaved left/right samples to
    // `destination` and returns that count in `count`; 0 for an output format other than two
    // channels of 16 bits. Samples beyond 16 bits are clamped rather than wrapped.
    void Mix(const AudioFrameDecoder::OutputFormat& format, const PlanarSampleBuffer& planes, void* destination,
             int32_t& count) const;
};

} // namespace audio
