// Layer I streams built here from random allocations, scalefactors and samples, decoded by the
// decoder and by a slow reference written straight from ISO/IEC 11172-3 (requantisation of
// 2.4.3.2 and the synthesis filter of Figure A.2: matrixing by cosines, a shifted V, U, W).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "media/audio/AudioTestSupport.h"
#include "media/audio/MpegAudioFrameDecoder.h"
#include "media/audio/MpegAudioTables.h"
#include "media/audio/BitWriter.h"
#include "support/TestMedia.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Layer1Frame {
    int allocation[2][32]; // bits per sample minus 1 (0 = none)
    int scalefactor[2][32];
    uint32_t codes[12][2][32];
};

class ReferenceSynthesis {
public:
    ReferenceSynthesis() : m_v(1024, 0.0) {}
    void Run(const double* s, double* out)
    {
        for (int i = 1023; i >= 64; --i)
            m_v[i] = m_v[i - 64];
        for (int i = 0; i < 64; ++i) {
            double sum = 0;
            for (int k = 0; k < 32; ++k)
                sum += std::cos((16 + i) * (2 * k + 1) * kPi / 64.0) * s[k];
            m_v[i] = sum;
        }
        double u[512];
        for (int i = 0; i < 8; ++i) {
            for (int j = 0; j < 32; ++j) {
                u[i * 64 + j] = m_v[i * 128 + j];
                u[i * 64 + 32 + j] = m_v[i * 128 + 96 + j];
            }
        }
        for (int j = 0; j < 32; ++j) {
            double sum = 0;
            for (int i = 0; i < 16; ++i)
                sum += u[j + 32 * i] * (audio::mpa::kWindow[j + 32 * i] / 65536.0);
            out[j] = sum;
        }
    }

private:
    std::vector<double> m_v;
};

// The standard's requantisation: invert the most significant bit, read the code as a two's
// complement fraction, add 2^-(nb-1), multiply by 2^nb / (2^nb - 1) and by the scalefactor.
double Requantise(uint32_t code, int nb, int scalefactor)
{
    const uint32_t flipped = code ^ (1u << (nb - 1));
    int32_t value = static_cast<int32_t>(flipped);
    if (flipped & (1u << (nb - 1)))
        value -= 1 << nb;
    const double fraction = value / double(1 << (nb - 1));
    const double sample = (fraction + std::pow(2.0, -(nb - 1))) * std::pow(2.0, nb) / (std::pow(2.0, nb) - 1);
    return sample * 2.0 * std::pow(2.0, -scalefactor / 3.0);
}

// A frame at 48 kHz and 448 kbit/s (448 bytes), the given mode (0 stereo, 1 joint, 3 single).
std::vector<uint8_t> WriteFrame(const Layer1Frame& f, int mode, int extension)
{
    test::BitWriter w;
    w.Put(0xFFF, 12);
    w.Put(1, 1);   // ID
    w.Put(3, 2);   // layer I
    w.Put(1, 1);   // no CRC
    w.Put(14, 4);  // 448 kbit/s
    w.Put(1, 2);   // 48 kHz
    w.Put(0, 2);   // padding, private
    w.Put(mode, 2);
    w.Put(extension, 2);
    w.Put(0, 4);
    const int channels = mode == 3 ? 1 : 2;
    const int bound = mode == 1 ? 4 * (extension + 1) : 32;
    for (int sb = 0; sb < 32; ++sb)
        for (int ch = 0; ch < (sb < bound ? channels : 1); ++ch)
            w.Put(f.allocation[ch][sb], 4);
    for (int sb = 0; sb < 32; ++sb)
        for (int ch = 0; ch < channels; ++ch)
            if (f.allocation[ch][sb])
                w.Put(f.scalefactor[ch][sb], 6);
    for (int s = 0; s < 12; ++s)
        for (int sb = 0; sb < 32; ++sb)
            for (int ch = 0; ch < (sb < bound ? channels : 1); ++ch)
                if (f.allocation[ch][sb])
                    w.Put(f.codes[s][ch][sb], f.allocation[ch][sb] + 1);
    EXPECT_LE(w.BitCount(), 448u * 8);
    w.PadTo(448);
    return w.Bytes();
}

Layer1Frame RandomFrame(test::CTestRandom& random, int mode, int extension)
{
    Layer1Frame f = {};
    const int channels = mode == 3 ? 1 : 2;
    const int bound = mode == 1 ? 4 * (extension + 1) : 32;
    // Keep within the 448-byte frame: about 3,400 bits for samples.
    int budget = 3300;
    for (int sb = 0; sb < 32; ++sb) {
        for (int ch = 0; ch < (sb < bound ? channels : 1); ++ch) {
            int a = static_cast<int>(random.Below(sb < 8 ? 14 : 6));
            if (12 * (a + 1) + 6 > budget || random.Below(5) == 0)
                a = 0;
            if (a)
                budget -= 12 * (a + 1) + 6 * (sb < bound ? 1 : channels);
            f.allocation[ch][sb] = a;
            if (sb >= bound)
                f.allocation[1][sb] = a;
        }
        for (int ch = 0; ch < channels; ++ch)
            f.scalefactor[ch][sb] = static_cast<int>(random.Below(63));
    }
    for (int s = 0; s < 12; ++s)
        for (int sb = 0; sb < 32; ++sb)
            for (int ch = 0; ch < 2; ++ch)
                if (f.allocation[ch][sb]) // the all-ones code is forbidden
                    f.codes[s][ch][sb] = random.Below((1u << (f.allocation[ch][sb] + 1)) - 1);
    if (bound < 32)
        for (int s = 0; s < 12; ++s)
            for (int sb = bound; sb < 32; ++sb)
                f.codes[s][1][sb] = f.codes[s][0][sb];
    return f;
}

void CheckAgainstReference(int mode, int extension, uint64_t seed)
{
    test::CTestRandom random(seed);
    const int channels = mode == 3 ? 1 : 2;
    std::vector<uint8_t> stream;
    std::vector<std::vector<double>> expected(channels);
    ReferenceSynthesis reference[2];
    for (int n = 0; n < 8; ++n) {
        const Layer1Frame f = RandomFrame(random, mode, extension);
        const std::vector<uint8_t> bytes = WriteFrame(f, mode, extension);
        stream.insert(stream.end(), bytes.begin(), bytes.end());
        for (int s = 0; s < 12; ++s) {
            for (int ch = 0; ch < channels; ++ch) {
                double subbands[32] = {};
                for (int sb = 0; sb < 32; ++sb)
                    if (f.allocation[ch][sb])
                        subbands[sb] = Requantise(f.codes[s][ch][sb], f.allocation[ch][sb] + 1, f.scalefactor[ch][sb]);
                double out[32];
                reference[ch].Run(subbands, out);
                expected[ch].insert(expected[ch].end(), out, out + 32);
            }
        }
    }
    audio::MpegAudioFrameDecoder decoder;
    const test::DecodedStream decoded = test::DecodeStream(decoder, stream, 500);
    EXPECT_EQ(8, decoded.frames);
    EXPECT_EQ(0, decoded.skips);
    EXPECT_EQ(384, decoder.SamplesPerFrame());
    ASSERT_EQ(static_cast<size_t>(channels), decoded.channels.size());
    for (int ch = 0; ch < channels; ++ch) {
        ASSERT_EQ(expected[ch].size(), decoded.channels[ch].size());
        double worst = 0, peak = 0;
        for (size_t i = 0; i < expected[ch].size(); ++i) {
            worst = std::max(worst, std::fabs(expected[ch][i] - decoded.channels[ch][i]));
            peak = std::max(peak, std::fabs(expected[ch][i]));
        }
        EXPECT_GT(peak, 0.01); // the frames carry real signal
        EXPECT_LT(worst, 2e-5 * std::max(1.0, peak)) << "channel " << ch;
    }
}

TEST(MpegLayer1Test, StereoMatchesTheStandardsSynthesis) { CheckAgainstReference(0, 0, 11); }
TEST(MpegLayer1Test, JointStereoSharesSamplesAboveTheBound) { CheckAgainstReference(1, 1, 12); }
TEST(MpegLayer1Test, SingleChannelMatchesTheStandardsSynthesis) { CheckAgainstReference(3, 0, 13); }

TEST(MpegLayer1Test, AllocationCodeFifteenGivesUpOneByte)
{
    test::CTestRandom random(5);
    Layer1Frame f = RandomFrame(random, 3, 0);
    std::vector<uint8_t> bytes = WriteFrame(f, 3, 0);
    // The first allocation field sits right after the four header bytes.
    bytes[4] = static_cast<uint8_t>(0xF0 | (bytes[4] & 0x0F));
    audio::InputByteBuffer buffer;
    ASSERT_TRUE(buffer.Allocate(0x20000));
    ASSERT_EQ(448, buffer.Append(bytes.data(), 448));
    audio::MpegAudioFrameDecoder decoder;
    EXPECT_EQ(1, decoder.DecodeFrame(buffer));
    EXPECT_FALSE(decoder.FrameReady());
    int16_t pcm[2048];
    EXPECT_EQ(0, decoder.OutputFrame(pcm));
}

} // namespace
