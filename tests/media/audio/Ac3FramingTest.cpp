// AC-3 frame sizes, the sync search, frames that are incomplete, damaged or of another syntax,
// and the inverse transform against its definition.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "base/TraceCapture.h"
#include "media/audio/AC3FrameDecoder.h"
#include "media/audio/Ac3Tables.h"
#include "media/audio/Ac3Transform.h"
#include "media/audio/AudioTestSupport.h"
#include "media/audio/InputByteBuffer.h"
#include "support/TestMedia.h"

namespace {

// The CRC of A/52 section 7.10.1 a bit at a time, as the generator polynomial defines it.
uint32_t BitwiseCrc(const uint8_t* data, size_t bytes)
{
    uint32_t crc = 0;
    for (size_t i = 0; i < bytes; ++i) {
        crc ^= static_cast<uint32_t>(data[i]) << 8;
        for (int b = 0; b < 8; ++b)
            crc = (crc & 0x8000) ? ((crc << 1) ^ 0x8005) & 0xFFFF : (crc << 1) & 0xFFFF;
    }
    return crc;
}

// The table-driven CRC, eight bytes a step with a tail of one to seven, equals the bitwise one.
TEST(Ac3TablesTest, CrcEightBytesAStepEqualsTheBitwiseCrc)
{
    std::vector<uint8_t> data(1800);
    uint32_t seed = 12345;
    for (uint8_t& b : data) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<uint8_t>(seed >> 16);
    }
    for (size_t bytes = 0; bytes < 24; ++bytes)
        EXPECT_EQ(BitwiseCrc(data.data() + 1, bytes), audio::ac3::Crc16(data.data() + 1, bytes)) << bytes;
    EXPECT_EQ(BitwiseCrc(data.data(), data.size()), audio::ac3::Crc16(data.data(), data.size()));
}

TEST(Ac3TablesTest, FrameSizesOfTable518)
{
    EXPECT_EQ(768u, audio::ac3::FrameWords(0, 28)); // 384 kbit/s at 48 kHz: 1,536 bytes
    EXPECT_EQ(64u, audio::ac3::FrameWords(0, 0));
    EXPECT_EQ(1280u, audio::ac3::FrameWords(0, 37));
    EXPECT_EQ(696u, audio::ac3::FrameWords(1, 26)); // 320 kbit/s at 44.1 kHz
    EXPECT_EQ(697u, audio::ac3::FrameWords(1, 27)); // 1,394 bytes
    EXPECT_EQ(835u, audio::ac3::FrameWords(1, 28)); // 384 kbit/s
    EXPECT_EQ(836u, audio::ac3::FrameWords(1, 29));
    EXPECT_EQ(69u, audio::ac3::FrameWords(1, 0));
    EXPECT_EQ(1393u, audio::ac3::FrameWords(1, 36));
    EXPECT_EQ(96u, audio::ac3::FrameWords(2, 0));
    EXPECT_EQ(1920u, audio::ac3::FrameWords(2, 37));
    EXPECT_EQ(0u, audio::ac3::FrameWords(0, 38));
    EXPECT_EQ(0u, audio::ac3::FrameWords(3, 0));
}

// Every code a mantissa field can hold has an entry: those beyond a quantiser's levels are silent.
TEST(Ac3TablesTest, QuantiserCodesBeyondTheirLevelsAreSilent)
{
    const audio::ac3::Quantisers& q = audio::ac3::GetQuantisers();
    // Valid codes: A/52 Tables 7.19 to 7.23 (group order: first mantissa most significant).
    EXPECT_FLOAT_EQ(-2.0f / 3, q.group3[0][0]);
    EXPECT_FLOAT_EQ(2.0f / 3, q.group3[26][2]);
    EXPECT_FLOAT_EQ(0.0f, q.group3[13][1]);
    EXPECT_FLOAT_EQ(-4.0f / 5, q.group5[0][0]);
    EXPECT_FLOAT_EQ(4.0f / 5, q.group5[124][0]);
    EXPECT_FLOAT_EQ(-2.0f / 5, q.group5[1 * 25 + 3 * 5 + 4][0]);
    EXPECT_FLOAT_EQ(2.0f / 5, q.group5[1 * 25 + 3 * 5 + 4][1]);
    EXPECT_FLOAT_EQ(4.0f / 5, q.group5[1 * 25 + 3 * 5 + 4][2]);
    EXPECT_FLOAT_EQ(10.0f / 11, q.group11[120][1]);
    EXPECT_FLOAT_EQ(-6.0f / 7, q.asymmetric[0]);
    EXPECT_FLOAT_EQ(14.0f / 15, q.asymmetric[q.kLevel15 + 14]);
    for (int code = 27; code < 32; ++code)
        for (float v : q.group3[code])
            EXPECT_EQ(0.0f, v) << code;
    for (int code = 125; code < 128; ++code)
        for (float v : q.group5[code])
            EXPECT_EQ(0.0f, v) << code;
    for (int code = 121; code < 128; ++code)
        for (float v : q.group11[code])
            EXPECT_EQ(0.0f, v) << code;
    EXPECT_EQ(0.0f, q.asymmetric[7]);
    EXPECT_EQ(0.0f, q.asymmetric[q.kLevel15 + 15]);
}

// The transform of A/52 section 7.9.4 by its definition: x[n] = -w[n] sum X[k] cos(...), for one
// 512-sample block or two 256-sample blocks (alpha -1 and +1).
TEST(Ac3TransformTest, FastTransformsMatchTheDefinition)
{
    const double pi = 3.14159265358979323846;
    audio::Ac3Transform transform;
    test::CTestRandom random(3);
    float X[256];
    for (float& x : X)
        x = static_cast<float>(random.Below(20001)) / 10000.0f - 1.0f;
    for (int shortBlocks = 0; shortBlocks < 2; ++shortBlocks) {
        float coefficients[256], overlap[256] = {};
        std::copy(X, X + 256, coefficients);
        transform.Inverse(coefficients, overlap, shortBlocks != 0);
        double worst = 0;
        for (int n = 0; n < 512; ++n) {
            const double got = n < 256 ? coefficients[n] / 2.0 : overlap[n - 256];
            const double w = n < 256 ? transform.Window()[n] : transform.Window()[511 - n];
            double sum = 0;
            if (!shortBlocks) {
                for (int k = 0; k < 256; ++k)
                    sum += X[k] * std::cos(2 * pi / 2048 * (2 * n + 1) * (2 * k + 1) + pi / 4 * (2 * k + 1));
            } else {
                const int m = n & 255;
                const int half = n >> 8;
                const double alpha = half ? 1.0 : -1.0;
                for (int k = 0; k < 128; ++k)
                    sum += X[2 * k + half] *
                           std::cos(2 * pi / 1024 * (2 * m + 1) * (2 * k + 1) + pi / 4 * (2 * k + 1) * (1 + alpha));
            }
            worst = std::max(worst, std::fabs(got + w * sum));
        }
        EXPECT_LT(worst, 2e-4) << (shortBlocks ? "256-sample" : "512-sample");
    }
    // The window: rising, and power complementary (w[n]^2 + w[255-n]^2 = 1).
    for (int n = 0; n < 256; ++n)
        EXPECT_NEAR(1.0, transform.Window()[n] * transform.Window()[n] +
                             transform.Window()[255 - n] * transform.Window()[255 - n], 1e-5);
    EXPECT_NEAR(0.00014, transform.Window()[0], 1e-5);
}

// The SSE2 forms take the same steps as the portable ones: the outputs and overlaps are equal to
// the bit, over several blocks in a row, for wide-ranging coefficients with zeros among them.
TEST(Ac3TransformTest, Sse2FormsEqualThePortableOnes)
{
    audio::Ac3Transform fast, portable;
    portable.SelectPortable(true);
    test::CTestRandom random(11);
    for (int shortBlocks = 0; shortBlocks < 2; ++shortBlocks) {
        float overlapFast[256] = {}, overlapPortable[256] = {};
        for (int block = 0; block < 8; ++block) {
            float a[256], b[256];
            for (int k = 0; k < 256; ++k) {
                const float v = static_cast<float>(random.Below(2000001)) / 1000000.0f - 1.0f;
                a[k] = b[k] = random.Below(4) == 0 ? 0.0f : std::ldexp(v, -static_cast<int>(random.Below(24)));
            }
            fast.Inverse(a, overlapFast, shortBlocks != 0);
            portable.Inverse(b, overlapPortable, shortBlocks != 0);
            ASSERT_EQ(0, std::memcmp(a, b, sizeof a)) << "block " << block << " short " << shortBlocks;
            ASSERT_EQ(0, std::memcmp(overlapFast, overlapPortable, sizeof overlapFast)) << "block " << block;
        }
    }
}

class Ac3StreamTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_stream = test::ReadFileBytes(test::MediaPath("ac3_stereo_48k.ac3"));
        ASSERT_GT(m_stream.size(), 768u * 3);
        ASSERT_EQ(0x0B, m_stream[0]);
        m_frameBytes = static_cast<int32_t>(audio::ac3::FrameWords(m_stream[4] >> 6, m_stream[4] & 0x3F) * 2);
        ASSERT_EQ(0u, m_stream.size() % m_frameBytes);
        ASSERT_TRUE(m_buffer.Allocate(0x20000));
    }
    // Makes the CRC over the frame after its sync word zero again, through crc2.
    static void FixCrc(uint8_t* frame, int32_t bytes)
    {
        const uint32_t crc = BitwiseCrc(frame + 2, static_cast<size_t>(bytes - 4));
        frame[bytes - 2] = static_cast<uint8_t>(crc >> 8);
        frame[bytes - 1] = static_cast<uint8_t>(crc);
    }

    std::vector<uint8_t> m_stream;
    int32_t m_frameBytes = 0;
    audio::InputByteBuffer m_buffer;
    audio::AC3FrameDecoder m_decoder;
};

TEST_F(Ac3StreamTest, WaitsForAWholeFrameAndSkipsGarbage)
{
    EXPECT_EQ(0, m_decoder.DecodeFrame(m_buffer));
    const uint8_t garbage[7] = {0x0B, 0x00, 0x77, 0x0B, 0x11, 0x22, 0x0B};
    m_buffer.Append(garbage, 6);
    EXPECT_EQ(5, m_decoder.DecodeFrame(m_buffer)); // all but the last byte
    m_buffer.Empty();
    m_buffer.Append(garbage + 3, 4);
    m_buffer.Append(m_stream.data(), m_frameBytes - 1);
    EXPECT_EQ(4, m_decoder.DecodeFrame(m_buffer)); // the bytes before the sync word
    m_buffer.Consume(4);
    EXPECT_EQ(0, m_decoder.DecodeFrame(m_buffer)); // one byte short: wait
    EXPECT_FALSE(m_decoder.FrameReady());
    m_buffer.Append(m_stream.data() + m_frameBytes - 1, 1);
    EXPECT_EQ(m_frameBytes, m_decoder.DecodeFrame(m_buffer));
    EXPECT_TRUE(m_decoder.FrameReady());
    std::vector<int16_t> pcm(2 * 1536);
    EXPECT_EQ(1536, m_decoder.OutputFrame(pcm.data()));
    EXPECT_EQ(0, m_decoder.OutputFrame(nullptr));
    m_decoder.Reset();
    EXPECT_EQ(0, m_decoder.OutputFrame(pcm.data()));
    EXPECT_EQ(1536, m_decoder.SamplesPerFrame());
}

TEST_F(Ac3StreamTest, DamagedFrameIsSkippedAndDecodingResumesAtTheNext)
{
    std::vector<uint8_t> damaged = m_stream;
    damaged[m_frameBytes + m_frameBytes / 2] ^= 0x10; // a bit of frame 1's audio data
    const size_t total = m_stream.size() / m_frameBytes;
    audio::AC3FrameDecoder clean;
    const test::DecodedStream a = test::DecodeStream(clean, m_stream, 4096);
    const test::DecodedStream b = test::DecodeStream(m_decoder, damaged, 4096);
    // The comparison below indexes both decodes by these counts.
    ASSERT_EQ(static_cast<int>(total), a.frames);
    ASSERT_EQ(static_cast<int>(total) - 1, b.frames);
    ASSERT_FALSE(a.channels.empty());
    ASSERT_FALSE(b.channels.empty());
    EXPECT_GE(b.skips, 1);
    // From frame 3 on (frame 2 overlaps with what frame 1 left) the output is that of the intact
    // stream, but for the dither, whose generator has run a different course.
    ASSERT_EQ(a.channels[0].size() - 1536, b.channels[0].size());
    double signal = 0, noise = 0;
    for (size_t i = 2 * 1536; i < b.channels[0].size(); ++i) {
        const double d = a.channels[0][i + 1536] - b.channels[0][i];
        signal += double(a.channels[0][i + 1536]) * a.channels[0][i + 1536];
        noise += d * d;
    }
    EXPECT_GT(signal, 0.0);
    EXPECT_LT(noise, signal * 1e-6);
}

TEST_F(Ac3StreamTest, EnhancedAc3BitStreamIdIsRefused)
{
    std::vector<uint8_t> frame(m_stream.begin(), m_stream.begin() + m_frameBytes);
    const uint8_t bsid = frame[5] >> 3;
    EXPECT_EQ(8, bsid);
    frame[5] = static_cast<uint8_t>((16 << 3) | (frame[5] & 7));
    FixCrc(frame.data(), m_frameBytes);
    m_buffer.Append(frame.data(), m_frameBytes);
    EXPECT_EQ(2, m_decoder.DecodeFrame(m_buffer));
    EXPECT_FALSE(m_decoder.FrameReady());
    m_buffer.Empty();
    // The same frame with bsid 6 (an older revision of the same syntax) decodes.
    frame[5] = static_cast<uint8_t>((6 << 3) | (frame[5] & 7));
    FixCrc(frame.data(), m_frameBytes);
    m_buffer.Append(frame.data(), m_frameBytes);
    EXPECT_EQ(m_frameBytes, m_decoder.DecodeFrame(m_buffer));
    EXPECT_TRUE(m_decoder.FrameReady());
    EXPECT_EQ(48000u, m_decoder.GetStreamInfo()->sampleRate);
}

TEST_F(Ac3StreamTest, FalseSyncWordsGiveUpTwoBytes)
{
    std::vector<uint8_t> frame(m_stream.begin(), m_stream.begin() + m_frameBytes);
    frame[4] = static_cast<uint8_t>(0xC0 | (frame[4] & 0x3F)); // reserved fscod
    m_buffer.Append(frame.data(), m_frameBytes);
    EXPECT_EQ(2, m_decoder.DecodeFrame(m_buffer));
    m_buffer.Empty();
    frame[4] = 38; // no such frmsizecod
    m_buffer.Append(frame.data(), m_frameBytes);
    EXPECT_EQ(2, m_decoder.DecodeFrame(m_buffer));
    EXPECT_FALSE(m_decoder.FrameReady());
}

TEST_F(Ac3StreamTest, RefusedFramesTellTheTraceWhy)
{
    base::CTraceCapture trace;
    std::vector<uint8_t> frame(m_stream.begin(), m_stream.begin() + m_frameBytes);
    frame[m_frameBytes / 2] ^= 0x10;
    m_buffer.Append(frame.data(), m_frameBytes);
    EXPECT_EQ(2, m_decoder.DecodeFrame(m_buffer));
    EXPECT_TRUE(trace.Has("AC-3 frame", "CRC mismatch"));
    m_buffer.Empty();

    frame.assign(m_stream.begin(), m_stream.begin() + m_frameBytes);
    frame[5] = static_cast<uint8_t>((16 << 3) | (frame[5] & 7));
    FixCrc(frame.data(), m_frameBytes);
    m_buffer.Append(frame.data(), m_frameBytes);
    EXPECT_EQ(2, m_decoder.DecodeFrame(m_buffer));
    EXPECT_TRUE(trace.Has("AC-3 frame", "bsid of a later syntax"));
    m_buffer.Empty();

    frame[4] = 38;
    m_buffer.Append(frame.data(), m_frameBytes);
    EXPECT_EQ(2, m_decoder.DecodeFrame(m_buffer));
    EXPECT_TRUE(trace.Has("AC-3 frame", "no frame size"));
    m_buffer.Empty();

    m_buffer.Append(m_stream.data(), m_frameBytes);
    EXPECT_EQ(m_frameBytes, m_decoder.DecodeFrame(m_buffer));
    EXPECT_EQ(3u, trace.Lines().size()) << "an intact frame is not traced";
}

} // namespace
