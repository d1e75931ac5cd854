// Template part of AudioTestSupport.h.
#include <gtest/gtest.h>

#include <algorithm>

#include "media/audio/InputByteBuffer.h"

namespace test {

template <class Decoder>
DecodedStream DecodeStream(Decoder& decoder, const std::vector<uint8_t>& data, size_t chunk)
{
    DecodedStream out;
    audio::InputByteBuffer buffer;
    EXPECT_TRUE(buffer.Allocate(0x20000));
    size_t position = 0;
    for (;;) {
        if (position < data.size()) {
            const size_t n = std::min(chunk, data.size() - position);
            EXPECT_EQ(static_cast<int32_t>(n), buffer.Append(&data[position], static_cast<int32_t>(n)));
            position += n;
        }
        for (;;) {
            const int32_t consumed = decoder.DecodeFrame(buffer);
            if (consumed < 1)
                break;
            EXPECT_LE(consumed, buffer.Unread());
            buffer.Consume(consumed);
            if (!decoder.FrameReady()) {
                ++out.skips;
                continue;
            }
            ++out.frames;
            const audio::PlanarSampleBuffer& frame = decoder.Frame();
            out.channels.resize(frame.channels);
            const int32_t samples = decoder.SamplesPerFrame();
            for (uint32_t c = 0; c < frame.channels; ++c)
                out.channels[c].insert(out.channels[c].end(), frame.planes[c], frame.planes[c] + samples);
        }
        if (position >= data.size())
            break;
    }
    return out;
}

} // namespace test
