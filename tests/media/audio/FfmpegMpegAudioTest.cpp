// Layer II clips made by ffmpeg's mp2 encoder and by libtwolame (joint stereo and CRC words
// among them), decoded by us and by ffmpeg's float decoder: no sample may differ by 1e-4 or more.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "media/audio/AudioTestSupport.h"
#include "media/audio/MpegAudioFrameDecoder.h"
#include "support/TestMedia.h"

namespace {

struct Clip {
    const char* name;
    uint32_t sampleRate;
    uint32_t channels;
};

class FfmpegMpegAudioTest : public ::testing::TestWithParam<Clip> {};

TEST_P(FfmpegMpegAudioTest, MatchesFfmpegDecode)
{
    const Clip& clip = GetParam();
    const std::string base = clip.name;
    const std::vector<uint8_t> stream = test::ReadFileBytes(test::MediaPath(base + ".mp2"));
    const std::vector<float> reference = test::ReadFloats(test::MediaPath(base + ".mp2.f32"));

    audio::MpegAudioFrameDecoder decoder;
    const test::DecodedStream decoded = test::DecodeStream(decoder, stream, 777);
    ASSERT_EQ(clip.channels, decoded.channels.size());
    EXPECT_EQ(0, decoded.skips);
    EXPECT_EQ(clip.sampleRate, decoder.GetStreamInfo()->sampleRate);
    EXPECT_EQ(clip.channels, decoder.GetStreamInfo()->channels);
    EXPECT_EQ(audio::kTagMpeg, decoder.GetStreamInfo()->tag);
    EXPECT_EQ(1152, decoder.SamplesPerFrame());
    const size_t samples = reference.size() / clip.channels;
    ASSERT_EQ(samples, decoded.channels[0].size());
    for (size_t c = 0; c < clip.channels; ++c) {
        const double worst = test::MaxDifference(decoded.channels[c], reference, clip.channels, c, samples);
        EXPECT_LT(worst, 1e-4) << base << " channel " << c;
        char text[32];
        std::snprintf(text, sizeof text, "%.3g", worst);
        RecordProperty(base + "_ch" + std::to_string(c) + "_max_diff", text);
    }
}

INSTANTIATE_TEST_SUITE_P(Clips, FfmpegMpegAudioTest,
                         ::testing::Values(Clip{"mp2_mono_32k_32", 32000, 1}, Clip{"mp2_stereo_44k_64", 44100, 2},
                                           Clip{"mp2_mono_44k_112", 44100, 1},
                                           Clip{"mp2_stereo_48k_192", 48000, 2},
                                           Clip{"mp2_stereo_44k_384", 44100, 2},
                                           // 256 kbit/s mono: above the per-channel rates of the
                                           // standard's tables; encoders use table b for it.
                                           Clip{"mp2_mono_44k_256", 44100, 1},
                                           Clip{"tl_joint_48k_128", 48000, 2}, Clip{"tl_joint_44k_96", 44100, 2},
                                           Clip{"tl_joint_32k_256", 32000, 2}, Clip{"tl_mono_32k_48", 32000, 1},
                                           Clip{"tl_stereo_48k_384", 48000, 2}),
                         [](const ::testing::TestParamInfo<Clip>& info) { return std::string(info.param.name); });

} // namespace
