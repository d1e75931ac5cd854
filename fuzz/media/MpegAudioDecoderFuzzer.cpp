// Arbitrary bytes through the MPEG-1 layer I/II frame decoder.
#include "AudioFrameDecoderFuzzer.h"
#include "media/audio/MpegAudioFrameDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return FuzzAudioDecoder<audio::MpegAudioFrameDecoder>(data, size);
}
