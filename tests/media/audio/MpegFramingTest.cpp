// Frame headers, the sync search, waiting for a whole frame, and layer II grouped codes that no
// encoder may send.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "base/TraceCapture.h"
#include "media/audio/BitWriter.h"
#include "media/audio/InputByteBuffer.h"
#include "media/audio/MpegAudioFrameDecoder.h"

namespace {

using Header = audio::MpegAudioFrameDecoder::Header;

bool Parse(uint8_t b1, uint8_t b2, uint8_t b3, Header& h)
{
    const uint8_t bytes[4] = {0xFF, b1, b2, b3};
    return audio::MpegAudioFrameDecoder::ParseHeader(bytes, h);
}

TEST(MpegHeaderTest, FrameLengthsFollowTheBitRateAndPadding)
{
    Header h;
    ASSERT_TRUE(Parse(0xFD, 0xA4, 0x00, h)); // layer II, 192 kbit/s, 48 kHz
    EXPECT_EQ(576, h.frameBytes);
    EXPECT_EQ(4, h.headerBytes);
    ASSERT_TRUE(Parse(0xFD, 0xA6, 0x00, h)); // with padding
    EXPECT_EQ(577, h.frameBytes);
    ASSERT_TRUE(Parse(0xFD, 0x80, 0x00, h)); // 128 kbit/s, 44.1 kHz
    EXPECT_EQ(417, h.frameBytes);
    ASSERT_TRUE(Parse(0xFE, 0xE8, 0x00, h)); // layer I, 448 kbit/s, 32 kHz, CRC word
    EXPECT_EQ(672, h.frameBytes);
    EXPECT_EQ(6, h.headerBytes);
    EXPECT_EQ(0, h.layer);
    EXPECT_EQ(32, h.sblimit);

    EXPECT_FALSE(Parse(0xF5, 0xA4, 0x00, h)); // ID 0: MPEG-2 lower sampling frequencies
    EXPECT_FALSE(Parse(0xF9, 0xA4, 0x00, h)); // reserved layer
    EXPECT_FALSE(Parse(0xFD, 0x04, 0x00, h)); // free format
    EXPECT_FALSE(Parse(0xFD, 0xF4, 0x00, h)); // bitrate_index 15
    EXPECT_FALSE(Parse(0xFD, 0xAC, 0x00, h)); // sampling_frequency 3
}

TEST(MpegHeaderTest, LayerTwoTableFollowsRatePerChannel)
{
    Header h;
    ASSERT_TRUE(Parse(0xFD, 0x70, 0xC0, h)); // 112 kbit/s mono 44.1 kHz: table b
    EXPECT_EQ(1, h.table);
    EXPECT_EQ(30, h.sblimit);
    EXPECT_EQ(1u, h.channels);
    ASSERT_TRUE(Parse(0xFD, 0x70, 0x00, h)); // 112 kbit/s stereo: 56 per channel, table a
    EXPECT_EQ(0, h.table);
    EXPECT_EQ(27, h.sblimit);
    ASSERT_TRUE(Parse(0xFD, 0x10, 0x00, h)); // 32 kbit/s stereo 44.1 kHz: table c
    EXPECT_EQ(8, h.sblimit);
    ASSERT_TRUE(Parse(0xFD, 0x18, 0xC0, h)); // 32 kbit/s mono 32 kHz: table d
    EXPECT_EQ(12, h.sblimit);
    ASSERT_TRUE(Parse(0xFD, 0xC0, 0xC0, h)); // 256 kbit/s mono 44.1 kHz: table b, as encoders write it
    EXPECT_EQ(1, h.table);
    ASSERT_TRUE(Parse(0xFD, 0xC4, 0xC0, h)); // 256 kbit/s mono 48 kHz: table a
    EXPECT_EQ(0, h.table);
    ASSERT_TRUE(Parse(0xFD, 0xA4, 0x60, h)); // joint stereo, mode_extension 2: bound 12
    EXPECT_EQ(12, h.bound);
    ASSERT_TRUE(Parse(0xFD, 0xA4, 0x70, h)); // mode_extension 3: bound 16
    EXPECT_EQ(16, h.bound);
    ASSERT_TRUE(Parse(0xFD, 0x10, 0x70, h)); // the bound never exceeds sblimit
    EXPECT_EQ(8, h.bound);
}

// A mono layer II frame at 48 kHz and 192 kbit/s (table a) whose only allocated subbands use the
// grouped 3-, 5- and 9-level classes, every granule carrying the given three codes.
std::vector<uint8_t> GroupedFrame(uint32_t code3, uint32_t code5, uint32_t code9)
{
    test::BitWriter w;
    w.Put(0xFFFD, 16);
    w.Put(0xA4, 8);
    w.Put(0xC0, 8);
    // Allocation: subbands 0-2 and 3-10 take 4 bits, 11-22 3 bits, 23-26 2 bits.
    for (int sb = 0; sb < 27; ++sb) {
        const unsigned bits = sb < 11 ? 4 : sb < 23 ? 3 : 2;
        const uint32_t code = sb == 0 ? 1 : sb == 3 ? 2 : sb == 4 ? 4 : 0; // 3, 5 and 9 levels
        w.Put(code, bits);
    }
    for (int i = 0; i < 3; ++i)
        w.Put(2, 2); // scfsi: one scalefactor for the frame
    for (int i = 0; i < 3; ++i)
        w.Put(0, 6); // scalefactor 2.0
    for (int g = 0; g < 12; ++g) {
        w.Put(code3, 5);
        w.Put(code5, 7);
        w.Put(code9, 10);
    }
    w.PadTo(576);
    return w.Bytes();
}

double Peak(const std::vector<uint8_t>& frame)
{
    audio::InputByteBuffer buffer;
    EXPECT_TRUE(buffer.Allocate(0x20000));
    EXPECT_EQ(576, buffer.Append(frame.data(), 576));
    audio::MpegAudioFrameDecoder decoder;
    EXPECT_EQ(576, decoder.DecodeFrame(buffer));
    EXPECT_TRUE(decoder.FrameReady());
    double peak = 0;
    for (int i = 0; i < 1152; ++i)
        peak = std::max(peak, double(std::fabs(decoder.Frame().planes[0][i])));
    return peak;
}

TEST(MpegLayer2Test, GroupedCodesOutsideTheirRangeDecodeAsSilence)
{
    EXPECT_GT(Peak(GroupedFrame(26, 124, 728)), 0.1); // the largest valid codes
    EXPECT_EQ(0.0, Peak(GroupedFrame(31, 127, 1023)));
    EXPECT_EQ(0.0, Peak(GroupedFrame(27, 125, 729)));
}

TEST(MpegFramingTest, SyncSearchWaitingAndSkipping)
{
    const std::vector<uint8_t> frame = GroupedFrame(26, 124, 728);
    audio::InputByteBuffer buffer;
    ASSERT_TRUE(buffer.Allocate(0x20000));
    audio::MpegAudioFrameDecoder decoder;
    EXPECT_EQ(0, decoder.DecodeFrame(buffer)); // nothing to consume

    // Garbage before the sync word is given up in one call.
    const uint8_t garbage[5] = {0x00, 0xFF, 0x12, 0x34, 0x00};
    buffer.Append(garbage, 5);
    buffer.Append(frame.data(), 100);
    EXPECT_EQ(5, decoder.DecodeFrame(buffer));
    buffer.Consume(5);
    // Part of a frame: wait. The whole frame, and nothing after it, is enough.
    EXPECT_EQ(0, decoder.DecodeFrame(buffer));
    EXPECT_FALSE(decoder.FrameReady());
    buffer.Append(frame.data() + 100, 476);
    EXPECT_EQ(576, decoder.DecodeFrame(buffer));
    EXPECT_TRUE(decoder.FrameReady());
    int16_t pcm[2 * 1152];
    EXPECT_EQ(1152, decoder.OutputFrame(pcm));
    EXPECT_EQ(pcm[0], pcm[1]); // mono on both sides
    buffer.Consume(576);

    // An MPEG-2 header (ID 0) gives up two bytes at a time.
    std::vector<uint8_t> lsf = frame;
    lsf[1] = 0xF5;
    buffer.Append(lsf.data(), 576);
    EXPECT_EQ(2, decoder.DecodeFrame(buffer));
    EXPECT_FALSE(decoder.FrameReady());
    EXPECT_EQ(0, decoder.OutputFrame(pcm));
    buffer.Empty();

    // A layer III frame with a valid header (160 kbit/s in that layer's table) is consumed whole
    // and yields nothing.
    std::vector<uint8_t> layer3 = frame;
    layer3[1] = 0xFB;
    buffer.Append(layer3.data(), 576);
    EXPECT_EQ(480, decoder.DecodeFrame(buffer));
    EXPECT_FALSE(decoder.FrameReady());
    EXPECT_EQ(0, decoder.SamplesPerFrame());
    buffer.Empty();

    // One byte without a sync word: kept, since a sync word may begin with it.
    const uint8_t ff = 0xFF;
    buffer.Append(&ff, 1);
    EXPECT_EQ(0, decoder.DecodeFrame(buffer));
}

TEST(MpegFramingTest, RefusedFramesTellTheTraceWhy)
{
    base::CTraceCapture trace;
    audio::InputByteBuffer buffer;
    ASSERT_TRUE(buffer.Allocate(0x20000));
    audio::MpegAudioFrameDecoder decoder;
    std::vector<uint8_t> frame = GroupedFrame(26, 124, 728);
    frame[2] = static_cast<uint8_t>(0xF0 | (frame[2] & 0x0F)); // bitrate_index 15
    buffer.Append(frame.data(), 576);
    EXPECT_EQ(2, decoder.DecodeFrame(buffer));
    EXPECT_TRUE(trace.Has("MPEG audio frame", "bad header"));
    buffer.Empty();

    frame = GroupedFrame(26, 124, 728);
    buffer.Append(frame.data(), 576);
    EXPECT_EQ(576, decoder.DecodeFrame(buffer));
    EXPECT_EQ(1u, trace.Lines().size()) << "an intact frame is not traced";
}

} // namespace
