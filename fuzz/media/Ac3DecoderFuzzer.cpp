// Arbitrary bytes through the AC-3 frame decoder. The seeds are ffmpeg-made frames, most of them
// with their CRC made right again after mutation would break it, so the fuzzer reaches the block
// parser: the first input byte, when odd, asks for every sync frame's CRC to be fixed up.
#include <cstring>
#include <vector>

#include "AudioFrameDecoderFuzzer.h"
#include "media/audio/AC3FrameDecoder.h"
#include "media/audio/Ac3Tables.h"

namespace {

void FixCrcs(std::vector<uint8_t>& bytes)
{
    for (size_t i = 0; i + 6 < bytes.size(); ++i) {
        if (bytes[i] != 0x0B || bytes[i + 1] != 0x77)
            continue;
        const size_t length = audio::ac3::FrameWords(bytes[i + 4] >> 6, bytes[i + 4] & 0x3F) * 2;
        if (length == 0 || i + length > bytes.size())
            continue;
        uint32_t crc = 0;
        for (size_t k = i + 2; k < i + length - 2; ++k) {
            crc ^= static_cast<uint32_t>(bytes[k]) << 8;
            for (int b = 0; b < 8; ++b)
                crc = (crc & 0x8000) ? ((crc << 1) ^ 0x8005) & 0xFFFF : (crc << 1) & 0xFFFF;
        }
        bytes[i + length - 2] = static_cast<uint8_t>(crc >> 8);
        bytes[i + length - 1] = static_cast<uint8_t>(crc);
        i += length - 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::vector<uint8_t> bytes(data + 1, data + size);
    if (data[0] & 1)
        FixCrcs(bytes);
    if (bytes.empty())
        return 0;
    return FuzzAudioDecoder<audio::AC3FrameDecoder>(bytes.data(), bytes.size());
}
