// The core against a decoder no one here wrote: streams made by ffmpeg at test time, decoded by
// the core and by ffmpeg (-flags +bitexact); compared per frame, and both against the source.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "media/mpeg2video/StreamDecoder.h"
#include "support/TestMedia.h"

namespace {

using test::DecodedStream;

double Psnr(const uint8_t* a, const uint8_t* b, size_t n)
{
    double sse = 0;
    for (size_t i = 0; i < n; ++i) {
        const double d = double(a[i]) - double(b[i]);
        sse += d * d;
    }
    if (sse == 0)
        return 99.0;
    return 10.0 * std::log10(255.0 * 255.0 * double(n) / sse);
}

struct Comparison {
    double minIntra = 99, minOther = 99, meanVsFfmpeg = 0;
    double oursVsSource = 0, ffmpegVsSource = 0;
    size_t frames = 0;
};

Comparison Compare(const DecodedStream& s, const std::vector<uint8_t>& ref, const std::vector<uint8_t>& src)
{
    Comparison c;
    const size_t frameSize = size_t(s.width) * s.height + 2 * size_t(s.chromaWidth) * s.chromaHeight;
    c.frames = s.frames.size();
    EXPECT_EQ(ref.size(), frameSize * s.frames.size()) << "frame count differs from ffmpeg's";
    EXPECT_EQ(src.size(), frameSize * s.frames.size()) << "frame count differs from the source";
    const size_t n = std::min(s.frames.size(), std::min(ref.size(), src.size()) / frameSize);
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* ours = s.frames[i].planes.data();
        const double p = Psnr(ours, ref.data() + i * frameSize, frameSize);
        if (s.frames[i].codingType == 1)
            c.minIntra = std::min(c.minIntra, p);
        else
            c.minOther = std::min(c.minOther, p);
        c.meanVsFfmpeg += p / double(n);
        c.oursVsSource += Psnr(ours, src.data() + i * frameSize, frameSize) / double(n);
        c.ffmpegVsSource += Psnr(ref.data() + i * frameSize, src.data() + i * frameSize, frameSize) / double(n);
    }
    return c;
}

struct StreamCase {
    const char* name;
    unsigned width, height;
    size_t frames;
};

class FfmpegStreams : public ::testing::TestWithParam<StreamCase> {};

void CheckStream(const StreamCase& k, bool portable)
{
    const std::string base = "mpeg2video/" + std::string(k.name);
    const auto es = test::ReadFileBytes(test::MediaPath(base + ".m2v"));
    const auto ref = test::ReadFileBytes(test::MediaPath(base + ".ref.yuv"));
    const auto src = test::ReadFileBytes(test::MediaPath(base + ".src.yuv"));
    ASSERT_FALSE(es.empty());
    test::DecodeOptions options;
    options.portable = portable;
    const DecodedStream s = test::DecodeWholeStream(es, options);
    ASSERT_EQ(s.width, k.width);
    ASSERT_EQ(s.height, k.height);
    ASSERT_EQ(s.frames.size(), k.frames);
    const Comparison c = Compare(s, ref, src);
    EXPECT_GE(c.minIntra, 50.0) << k.name;
    EXPECT_GE(c.minOther, 40.0) << k.name;
    EXPECT_NEAR(c.oursVsSource, c.ffmpegVsSource, 0.2) << k.name;
    std::printf("%-14s %s: %zu frames, vs ffmpeg: intra min %.2f dB, others min %.2f dB, mean %.2f dB; "
                "vs source: ours %.3f dB, ffmpeg %.3f dB\n",
                k.name, portable ? "portable" : "selected", c.frames, c.minIntra, c.minOther, c.meanVsFfmpeg,
                c.oursVsSource, c.ffmpegVsSource);
}

TEST_P(FfmpegStreams, MatchesFfmpegWithSelectedRoutines) { CheckStream(GetParam(), false); }
TEST_P(FfmpegStreams, MatchesFfmpegWithPortableRoutines) { CheckStream(GetParam(), true); }

INSTANTIATE_TEST_SUITE_P(Streams, FfmpegStreams,
                         ::testing::Values(StreamCase{"sd_interlaced", 720, 576, 25},
                                           StreamCase{"options", 352, 288, 25}, StreamCase{"dc9", 352, 288, 13},
                                           StreamCase{"dc10", 352, 288, 13}, StreamCase{"matrices", 352, 288, 13},
                                           StreamCase{"chroma422", 352, 288, 13}, StreamCase{"mpeg1", 352, 288, 25},
                                           StreamCase{"hd", 1920, 1080, 7}, StreamCase{"long_gop", 352, 288, 50},
                                           StreamCase{"low_rate", 320, 240, 25}),
                         [](const ::testing::TestParamInfo<StreamCase>& i) { return std::string(i.param.name); });

// A low-rate stream fed as transport packets carry it (184 bytes at a time): the first picture
// comes out once its end is known, when the next picture's start code is in, not after the
// declared VBV buffer (2 MB here, some 40 s of this stream) has filled; in display order
// the pictures are the same as with large chunks.
TEST(FirstPicture, ComesOutOnceItsEndIsIn)
{
    const auto es = test::ReadFileBytes(test::MediaPath("mpeg2video/low_rate.m2v"));
    const std::vector<size_t> starts = test::PictureStarts(es);
    ASSERT_GE(starts.size(), 3u);
    constexpr size_t kChunk = 184;
    mpeg2video::Mpeg2VideoDecoderCore* c = nullptr;
    ASSERT_EQ(mpeg2video::CreateDecoder(&c), 0);
    DecodedStream s;
    size_t fed = 0;
    while (fed < es.size() && s.frames.empty()) {
        const size_t n = std::min(kChunk, es.size() - fed);
        ASSERT_EQ(mpeg2video::AppendInput(c, es.data() + fed, n), 0);
        fed += n;
        test::RunSteps(c, s);
    }
    mpeg2video::DestroyDecoder(c);
    ASSERT_EQ(s.frames.size(), 1u);
    EXPECT_EQ(s.frames[0].codingType, 1);
    EXPECT_GE(fed, starts[1] + 4);
    EXPECT_LT(fed, starts[1] + 4 + kChunk);
    std::printf("low_rate: first picture (%zu bytes) out after %zu bytes of input\n", starts[1] - starts[0], fed);

    test::DecodeOptions small;
    small.chunk = kChunk;
    const DecodedStream packets = test::DecodeWholeStream(es, small);
    const DecodedStream whole = test::DecodeWholeStream(es);
    ASSERT_EQ(packets.frames.size(), 25u);
    ASSERT_EQ(whole.frames.size(), 25u);
    for (size_t i = 0; i < whole.frames.size(); ++i)
        ASSERT_EQ(packets.frames[i].planes, whole.frames[i].planes) << "frame " << i;
}

// Streams with field pictures, 16x8 and dual-prime prediction (which ffmpeg's encoder does not
// write) from the fixture's own writer, against ffmpeg's decode of the same streams. A frame coded
// as two field pictures must come out once, in display order: eight frames from thirteen pictures.
class FieldStreams : public ::testing::TestWithParam<const char*> {};

TEST_P(FieldStreams, MatchFfmpeg)
{
    const std::string base = std::string("mpeg2video/") + GetParam();
    const auto es = test::ReadFileBytes(test::MediaPath(base + ".m2v"));
    const auto ref = test::ReadFileBytes(test::MediaPath(base + ".ref.yuv"));
    for (bool portable : {false, true}) {
        test::DecodeOptions options;
        options.portable = portable;
        const DecodedStream s = test::DecodeWholeStream(es, options);
        EXPECT_EQ(s.pictures, 13);
        ASSERT_EQ(s.frames.size(), 8u);
        const size_t frameSize = size_t(s.width) * s.height * 3 / 2;
        ASSERT_EQ(ref.size(), frameSize * 8);
        double minimum = 99;
        for (size_t i = 0; i < 8; ++i) {
            const double p = Psnr(s.frames[i].planes.data(), ref.data() + i * frameSize, frameSize);
            EXPECT_GE(p, s.frames[i].codingType == 1 ? 50.0 : 40.0) << GetParam() << " frame " << i;
            minimum = std::min(minimum, p);
        }
        // Display order I P... with the I/P field pair counted as an I frame.
        EXPECT_EQ(s.frames[0].codingType, 1);
        std::printf("%s %s: minimum %.2f dB against ffmpeg\n", GetParam(), portable ? "portable" : "selected", minimum);
    }
}

INSTANTIATE_TEST_SUITE_P(Streams, FieldStreams, ::testing::Values("field_pictures", "field_pictures_b"));

} // namespace
