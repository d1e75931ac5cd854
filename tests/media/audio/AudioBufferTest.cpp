// The filter's input byte buffer, the bit reader's hand-over of its position, the planar buffer and
// the mixer's gains and PCM conversion.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "media/audio/AudioBitReader.h"
#include "media/audio/InputByteBuffer.h"
#include "media/audio/PlanarMixer.h"
#include "media/audio/PlanarSampleBuffer.h"
#include "support/TestMedia.h"

namespace {

TEST(InputByteBufferTest, KeepsItsLast64KiBFreeAndCompactsOnlyWhenNeeded)
{
    audio::InputByteBuffer buffer;
    ASSERT_TRUE(buffer.Allocate(0x20000));
    std::vector<uint8_t> block(65536);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<uint8_t>(i * 7);
    EXPECT_EQ(65536, buffer.Append(block.data(), 65536));
    // Full up to the reserve: one more byte does not fit, and nothing is appended.
    EXPECT_EQ(-1, buffer.Append(block.data(), 1));
    EXPECT_EQ(65536, buffer.Unread());

    // Consuming makes room; the unread bytes move to the start only now.
    buffer.Consume(1000);
    const uint8_t* before = buffer.ReadPointer();
    EXPECT_EQ(1000, buffer.Append(block.data(), 1000));
    EXPECT_NE(before, buffer.ReadPointer());
    EXPECT_EQ(65536, buffer.Unread());
    EXPECT_EQ(0, std::memcmp(buffer.ReadPointer(), block.data() + 1000, 64536));
    EXPECT_EQ(0, std::memcmp(buffer.ReadPointer() + 64536, block.data(), 1000));

    // Consuming past the write pointer stops at it; Empty and Free leave nothing.
    buffer.Consume(1 << 20);
    EXPECT_EQ(0, buffer.Unread());
    EXPECT_EQ(0, buffer.Append(nullptr, 0));
    EXPECT_EQ(-1, buffer.Append(nullptr, 5));
    EXPECT_EQ(-1, buffer.Append(block.data(), -1));
    buffer.Free();
    EXPECT_EQ(0, buffer.Capacity());
    EXPECT_EQ(-1, buffer.Append(block.data(), 1));
}

// The position handed to a caller that reads on its own is the next unread bit, also once the
// cache holds the frame's last bytes and the zeros after them; Seek continues there, and a position
// past the frame's end marks the reader overrun.
TEST(AudioBitReaderTest, PositionAndSeekContinueAtTheNextBitAndMarkTheEnd)
{
    // A frame of 12 bytes at the start of a longer buffer, as the decoders' frames are.
    std::vector<uint8_t> buffer = {0xA5, 0x3C, 0xF0, 0x0F, 0x81, 0x42, 0x24, 0x18, 0x99, 0x66, 0xC3, 0x5A};
    buffer.resize(64, 0xFF);
    const uint8_t* const bytes = buffer.data();
    audio::AudioBitReader reader(base::CByteReader(bytes, 12));
    reader.Bits(3);
    reader.Bits(7);
    unsigned bit = 99;
    ASSERT_EQ(bytes + 1, reader.Position(bit));
    EXPECT_EQ(2u, bit);
    audio::AudioBitReader other(base::CByteReader(bytes, 12));
    other.Seek(bytes + 1, 2);
    EXPECT_EQ(reader.Bits(13), other.Bits(13)); // 0x3C 0xF0 from bit 2: 1 1110 0111 1000
    reader.Skip(8 * 12 - 23 - 4);
    ASSERT_EQ(bytes + 11, reader.Position(bit));
    EXPECT_EQ(4u, bit);
    EXPECT_EQ(0xAu, reader.Bits(4));
    EXPECT_FALSE(reader.Overrun());

    other.Seek(bytes + 12, 0); // the end itself: nothing read past it yet
    EXPECT_FALSE(other.Overrun());
    other.Bits(1);
    EXPECT_TRUE(other.Overrun());
    other.Seek(bytes + 12, 1);
    EXPECT_TRUE(other.Overrun());
    other.Seek(bytes + 3, 0);
    EXPECT_FALSE(other.Overrun());
    EXPECT_EQ(0x0F81u, other.Bits(16));
}

TEST(PlanarSampleBufferTest, ResizeKeepsPlanesOnlyForTheSameShape)
{
    audio::PlanarSampleBuffer planes;
    ASSERT_TRUE(planes.Resize(2, 2048));
    planes.planes[5][2047] = 1.0f; // all six planes exist whatever the channel count
    float* first = planes.planes[0];
    planes.planes[0][0] = 3.0f;
    ASSERT_TRUE(planes.Resize(2, 2048));
    EXPECT_EQ(first, planes.planes[0]);
    EXPECT_EQ(3.0f, planes.planes[0][0]);
    ASSERT_TRUE(planes.Resize(3, 2048));
    EXPECT_EQ(0.0f, planes.planes[0][0]); // new planes are cleared
    EXPECT_EQ(3u, planes.channels);
    planes.Free();
    EXPECT_EQ(0u, planes.channels);
    EXPECT_EQ(0u, planes.samples);
    EXPECT_EQ(nullptr, planes.planes[0]);
}

class FixedMixer : public audio::PlanarMixer {
public:
    explicit FixedMixer(int32_t samples) : m_samples(samples) {}
    int32_t SamplesPerFrame() const override { return m_samples; }

private:
    int32_t m_samples;
};

void Fill(audio::PlanarSampleBuffer& planes, uint32_t channels, uint8_t presence, const float* values)
{
    ASSERT_TRUE(planes.Resize(channels, 16));
    planes.presence = presence;
    for (uint32_t c = 0; c < channels; ++c)
        for (int i = 0; i < 16; ++i)
            planes.planes[c][i] = values[c];
}

TEST(PlanarMixerTest, ThreeTwoWithLfeFoldsDownWithRowsScaledToNineTenths)
{
    audio::PlanarSampleBuffer planes;
    const float values[6] = {0.5f, 0.25f, -0.5f, 0.125f, -0.125f, 0.0625f}; // L C R Ls Rs LFE
    Fill(planes, 6, 0x0F, values);
    float g[6][6];
    audio::PlanarMixer::BuildGains(planes, g);
    const double sum = 1.0 + 0.707 + 1.0 + 1.0;
    EXPECT_NEAR(1.0 * 0.9 / sum, g[0][0], 1e-6);
    EXPECT_NEAR(0.707 * 0.9 / sum, g[0][1], 1e-6);
    EXPECT_EQ(0.0f, g[0][2]);
    EXPECT_NEAR(1.0 * 0.9 / sum, g[0][3], 1e-6);
    EXPECT_EQ(0.0f, g[0][4]);
    EXPECT_NEAR(1.0 * 0.9 / sum, g[0][5], 1e-6);
    EXPECT_NEAR(1.0 * 0.9 / sum, g[2][2], 1e-6);
    EXPECT_NEAR(0.707 * 0.9 / sum, g[2][1], 1e-6);
    EXPECT_NEAR(1.0 * 0.9 / sum, g[2][4], 1e-6);
    EXPECT_EQ(0.0f, g[2][3]);

    FixedMixer mixer(16);
    int16_t out[32] = {};
    int32_t count = 0;
    mixer.Mix({1.0f, 2, 16}, planes, out, count);
    ASSERT_EQ(16, count);
    const float left = (0.5f + 0.707f * 0.25f + 0.125f + 0.0625f) * float(0.9 / sum) * 32700.0f;
    const float right = (-0.5f + 0.707f * 0.25f - 0.125f + 0.0625f) * float(0.9 / sum) * 32700.0f;
    EXPECT_NEAR(static_cast<int>(left), out[0], 1);
    EXPECT_NEAR(static_cast<int>(right), out[1], 1);
    EXPECT_EQ(out[0], out[30]);
    EXPECT_EQ(out[1], out[31]);
}

TEST(PlanarMixerTest, StereoStaysApartAndMonoReachesBothSides)
{
    audio::PlanarSampleBuffer planes;
    FixedMixer mixer(16);
    int16_t out[32];
    int32_t count = 0;

    const float stereo[2] = {0.5f, -0.25f};
    Fill(planes, 2, 0x02, stereo);
    mixer.Mix({1.0f, 2, 16}, planes, out, count);
    ASSERT_EQ(16, count);
    EXPECT_EQ(static_cast<int16_t>(0.5f * 0.9f * 32700.0f), out[0]);
    EXPECT_EQ(static_cast<int16_t>(-0.25f * 0.9f * 32700.0f), out[1]);

    const float mono[1] = {0.5f};
    Fill(planes, 1, 0x02, mono);
    mixer.Mix({1.0f, 2, 16}, planes, out, count);
    EXPECT_EQ(out[0], out[1]);
    EXPECT_EQ(static_cast<int16_t>(0.5f * 0.9f * 32700.0f), out[0]);

    // A/52 1/0 (centre only) likewise, and 2/1 puts the surround into both sides at -3 dB.
    Fill(planes, 1, 0x03, mono);
    mixer.Mix({1.0f, 2, 16}, planes, out, count);
    EXPECT_EQ(out[0], out[1]);
    const float twoOne[3] = {0.0f, 0.0f, 0.5f};
    Fill(planes, 3, 0x06, twoOne);
    mixer.Mix({1.0f, 2, 16}, planes, out, count);
    EXPECT_EQ(out[0], out[1]);
    EXPECT_GT(out[0], 0);
}

TEST(PlanarMixerTest, ClampsBeyondSixteenBitsAndRefusesOtherFormats)
{
    audio::PlanarSampleBuffer planes;
    FixedMixer mixer(16);
    int16_t out[32];
    int32_t count = 0;
    const float loud[2] = {3.0f, -3.0f};
    Fill(planes, 2, 0x02, loud);
    mixer.Mix({1.0f, 2, 16}, planes, out, count);
    ASSERT_EQ(16, count);
    EXPECT_EQ(32767, out[0]);
    EXPECT_EQ(-32768, out[1]);

    mixer.Mix({1.0f, 6, 16}, planes, out, count);
    EXPECT_EQ(0, count);
    mixer.Mix({1.0f, 2, 16}, planes, nullptr, count);
    EXPECT_EQ(0, count);
    FixedMixer nothing(0);
    nothing.Mix({1.0f, 2, 16}, planes, out, count);
    EXPECT_EQ(0, count);
    // Never more samples than the planes hold.
    FixedMixer greedy(4096);
    std::vector<int16_t> big(8192);
    greedy.Mix({1.0f, 2, 16}, planes, big.data(), count);
    EXPECT_EQ(16, count);
}

} // namespace

// The mixing loop (four samples at a time where the processor allows) against the sums and the
// conversion written out sample by sample: every value of the range, the limits, beyond them, NaN,
// and a sample count that is not a multiple of four.
TEST(PlanarMixerTest, MixesEverySampleAsTheScalarSumsDo)
{
    audio::PlanarSampleBuffer planes;
    const uint32_t samples = 1539;
    ASSERT_TRUE(planes.Resize(6, samples));
    planes.presence = audio::PlanarSampleBuffer::kFront | audio::PlanarSampleBuffer::kCentre |
                      audio::PlanarSampleBuffer::kSurround | audio::PlanarSampleBuffer::kLfe;
    test::CTestRandom rnd(7);
    const float special[] = {1.0f, -1.0f, 1.5f, -1.5f, 0.99999f, -0.99999f, NAN, 40.0f, -40.0f, 0.0f};
    for (uint32_t c = 0; c < 6; ++c)
        for (uint32_t i = 0; i < samples; ++i)
            planes.planes[c][i] = i % 97 == 0 ? special[(i / 97 + c) % 10]
                                              : static_cast<float>(rnd.Below(200001)) / 100000.0f - 1.0f;
    FixedMixer mixer(static_cast<int32_t>(samples));
    std::vector<int16_t> out(2 * samples);
    int32_t count = 0;
    mixer.Mix({0.8f, 2, 16}, planes, out.data(), count);
    ASSERT_EQ(static_cast<int32_t>(samples), count);
    float g[6][6];
    audio::PlanarMixer::BuildGains(planes, g);
    const float scale = 0.8f * 32700.0f;
    for (uint32_t i = 0; i < samples; ++i)
        for (int side = 0; side < 2; ++side) {
            const int row = side == 0 ? audio::PlanarMixer::kLeft : audio::PlanarMixer::kRight;
            float sum = 0.0f;
            for (int k = 0; k < 6; ++k)
                if (g[audio::PlanarMixer::kLeft][k] != 0.0f || g[audio::PlanarMixer::kRight][k] != 0.0f)
                    sum += (g[row][k] * scale) * planes.planes[k][i];
            const int16_t expected = !(sum > -32768.0f) ? -32768
                                     : !(sum < 32767.0f) ? 32767
                                                          : static_cast<int16_t>(static_cast<int32_t>(sum));
            ASSERT_EQ(expected, out[2 * i + side]) << "sample " << i << " side " << side;
        }
}
