// AC-3 clips made by ffmpeg's encoder, decoded by us and by ffmpeg (float, no dynamic range
// compression): every channel must agree to at least 60 dB. The limit is set by the dither of
// bins without bits, which each decoder draws from its own generator; the LFE channel, which is
// never dithered, agrees far closer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/audio/AC3FrameDecoder.h"
#include "media/audio/AudioTestSupport.h"
#include "support/TestMedia.h"

namespace {

struct Clip {
    const char* name;
    uint32_t sampleRate;
    uint8_t presence;
    // For each channel of ffmpeg's output, the plane of ours that carries it.
    std::vector<int> planeOf;
};

class FfmpegAc3Test : public ::testing::TestWithParam<Clip> {};

TEST_P(FfmpegAc3Test, MatchesFfmpegDecode)
{
    const Clip& clip = GetParam();
    const std::string base = clip.name;
    const std::vector<uint8_t> stream = test::ReadFileBytes(test::MediaPath(base + ".ac3"));
    const std::vector<float> reference = test::ReadFloats(test::MediaPath(base + ".ac3.f32"));
    const size_t channels = clip.planeOf.size();

    audio::AC3FrameDecoder decoder;
    // An odd chunk size, so that frames straddle appends.
    const test::DecodedStream decoded = test::DecodeStream(decoder, stream, 1000);
    ASSERT_EQ(channels, decoded.channels.size());
    EXPECT_EQ(0, decoded.skips);
    EXPECT_EQ(clip.sampleRate, decoder.GetStreamInfo()->sampleRate);
    EXPECT_EQ(channels, decoder.GetStreamInfo()->channels);
    EXPECT_EQ(clip.presence, decoder.Frame().presence);
    EXPECT_EQ(audio::kTagAc3, decoder.GetStreamInfo()->tag);
    const size_t samples = reference.size() / channels;
    ASSERT_EQ(samples, decoded.channels[0].size());
    ASSERT_EQ(static_cast<size_t>(decoded.frames) * 1536, samples);

    for (size_t c = 0; c < channels; ++c) {
        const double snr = test::SnrDb(decoded.channels[clip.planeOf[c]], reference, channels, c, samples);
        EXPECT_GE(snr, 60.0) << base << " channel " << c;
        RecordProperty(base + "_ch" + std::to_string(c) + "_snr_db", std::to_string(snr));
    }
}

// ffmpeg orders channels FL FR FC LFE BL/SL BR/SR (BC for one surround); ours keep the bit-stream
// order L C R (S | Ls Rs) LFE.
INSTANTIATE_TEST_SUITE_P(
    Clips, FfmpegAc3Test,
    ::testing::Values(Clip{"ac3_mono_48k", 48000, 0x03, {0}},
                      Clip{"ac3_stereo_48k", 48000, 0x02, {0, 1}},
                      Clip{"ac3_stereo_44k_cpl", 44100, 0x02, {0, 1}},
                      Clip{"ac3_stereo_32k_norematrix", 32000, 0x02, {0, 1}},
                      Clip{"ac3_3f_48k", 48000, 0x03, {0, 2, 1}},
                      Clip{"ac3_2f1r_lfe_32k", 32000, 0x0A, {0, 1, 2}},
                      Clip{"ac3_quad_44k", 44100, 0x06, {0, 1, 2, 3}},
                      Clip{"ac3_3f1r_48k", 48000, 0x07, {0, 2, 1, 3}},
                      Clip{"ac3_51_48k", 48000, 0x0F, {0, 2, 1, 5, 3, 4}},
                      Clip{"ac3_51_32k", 32000, 0x0F, {0, 2, 1, 5, 3, 4}}),
    [](const ::testing::TestParamInfo<Clip>& info) { return std::string(info.param.name); });

} // namespace
