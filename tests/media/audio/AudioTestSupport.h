// Helpers of the audio decoder tests: feeding a compressed stream through the filter's byte
// buffer the way the filter does, collecting the decoded planes, and comparing them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/audio/AudioFrameDecoder.h"
#include "media/audio/PlanarSampleBuffer.h"

namespace test {

struct DecodedStream {
    std::vector<std::vector<float>> channels; // one vector per plane
    int frames = 0;                            // calls that produced a frame
    int skips = 0;                             // calls that consumed bytes without a frame
};

// Appends `data` in chunks of `chunk` bytes to a 128 KiB input buffer and runs DecodeFrame until it
// consumes nothing, as the filter's decode loop does. `frame` returns the decoder's planes and
// `samples` the samples per plane of the last frame.
template <class Decoder>
DecodedStream DecodeStream(Decoder& decoder, const std::vector<uint8_t>& data, size_t chunk);

// Signal-to-noise ratio in dB of `ours` against `reference` (interleaved, `stride` channels,
// channel `index`); `count` samples compared.
double SnrDb(const std::vector<float>& ours, const std::vector<float>& reference, size_t stride, size_t index,
             size_t count);
double MaxDifference(const std::vector<float>& ours, const std::vector<float>& reference, size_t stride,
                     size_t index, size_t count);
std::vector<float> ReadFloats(const std::string& path);

} // namespace test

#include "media/audio/AudioTestSupport.inl"
