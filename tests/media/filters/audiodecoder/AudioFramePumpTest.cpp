#include "media/filters/audiodecoder/AudioFramePump.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "media/audio/AC3FrameDecoder.h"
#include "media/audio/InputByteBuffer.h"
#include "media/audio/MpegAudioFrameDecoder.h"

namespace {

using audiofilter::AudioFramePump;
using audiofilter::StreamKind;

std::vector<uint8_t> ReadMedia(const std::string& name)
{
    const char* dir = std::getenv("TOLVIK_MEDIA");
    std::ifstream file(std::string(dir ? dir : ".") + "/" + name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// PCM of a stream through the pump in chunks, as the filter does with its input samples.
std::vector<int16_t> Pump(AudioFramePump& pump, const std::vector<uint8_t>& data, size_t chunk)
{
    std::vector<int16_t> pcm;
    std::vector<int16_t> frame(1536 * 2);
    for (size_t at = 0; at < data.size(); at += chunk) {
        const size_t n = std::min(chunk, data.size() - at);
        EXPECT_TRUE(pump.Append(&data[at], static_cast<int32_t>(n)));
        while (pump.DecodeNext()) {
            const int32_t count = pump.OutputFrame(frame.data(), frame.size() * 2);
            pcm.insert(pcm.end(), frame.begin(), frame.begin() + count * 2);
        }
    }
    return pcm;
}

// The same stream through a bare frame decoder and its mixer, in one piece.
template <class Decoder>
std::vector<int16_t> Direct(const std::vector<uint8_t>& data)
{
    Decoder decoder;
    audio::InputByteBuffer buffer;
    buffer.Allocate(0x20000);
    std::vector<int16_t> pcm, frame(1536 * 2);
    for (size_t at = 0; at < data.size(); at += 32768) {
        buffer.Append(&data[at], static_cast<int32_t>(std::min<size_t>(32768, data.size() - at)));
        for (int32_t n; (n = decoder.DecodeFrame(buffer)) > 0;) {
            buffer.Consume(n);
            const int32_t count = decoder.OutputFrame(frame.data());
            pcm.insert(pcm.end(), frame.begin(), frame.begin() + count * 2);
        }
    }
    return pcm;
}

TEST(AudioFramePump, PcmEqualsTheMixerOverTheFrameDecodersWhateverTheChunking)
{
    const std::vector<uint8_t> mp2 = ReadMedia("mp2_stereo_48k_192.mp2");
    const std::vector<uint8_t> ac3 = ReadMedia("ac3_51_48k.ac3");
    ASSERT_FALSE(mp2.empty());
    ASSERT_FALSE(ac3.empty());
    AudioFramePump pump;
    ASSERT_TRUE(pump.Allocated());
    ASSERT_TRUE(pump.SetStreamKind(StreamKind::kMpeg));
    const std::vector<int16_t> reference = Direct<audio::MpegAudioFrameDecoder>(mp2);
    EXPECT_GT(reference.size(), 40000u);
    EXPECT_EQ(Pump(pump, mp2, 1), reference);
    pump.Reset();
    EXPECT_EQ(Pump(pump, mp2, 4000), reference);
    EXPECT_EQ(pump.Decoder()->GetStreamInfo()->sampleRate, 48000u);

    // A new stream kind on the same pump: a new decoder and no bytes of the old stream.
    const uint8_t half[] = {0xFF, 0xFD};
    EXPECT_TRUE(pump.Append(half, 2));
    ASSERT_TRUE(pump.SetStreamKind(StreamKind::kAc3));
    EXPECT_EQ(Pump(pump, ac3, 1000), Direct<audio::AC3FrameDecoder>(ac3));
}

TEST(AudioFramePump, TooSmallOutputBuffersAndOverfullInputAreRefused)
{
    const std::vector<uint8_t> ac3 = ReadMedia("ac3_stereo_48k.ac3");
    ASSERT_FALSE(ac3.empty());
    AudioFramePump pump;
    EXPECT_FALSE(pump.DecodeNext()); // no decoder yet
    ASSERT_TRUE(pump.SetStreamKind(StreamKind::kAc3));
    ASSERT_TRUE(pump.Append(ac3.data(), 4000));
    ASSERT_TRUE(pump.DecodeNext());
    ASSERT_TRUE(pump.FrameReady());
    EXPECT_EQ(pump.FrameBytes(), 1536u * 4);
    std::vector<uint8_t> small(1536 * 4 - 1, 0xAB);
    EXPECT_EQ(pump.OutputFrame(small.data(), small.size()), 0);
    EXPECT_EQ(small.back(), 0xAB);
    std::vector<uint8_t> fits(1536 * 4);
    EXPECT_EQ(pump.OutputFrame(fits.data(), fits.size()), 1536);

    // 64 KiB of unread bytes plus more do not fit: the append is refused whole.
    pump.Reset();
    std::vector<uint8_t> junk(65536, 0);
    EXPECT_TRUE(pump.Append(junk.data(), 65536));
    EXPECT_FALSE(pump.Append(junk.data(), 1));
    pump.Reset();
    EXPECT_TRUE(pump.Append(junk.data(), 1));
}

} // namespace
