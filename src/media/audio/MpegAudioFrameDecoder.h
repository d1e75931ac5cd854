// MPEG-1 audio layer I and II (ISO/IEC 11172-3) frame decoder: finds one frame in the filter's byte
// buffer, checks its header, requantises its subband samples and runs the synthesis filter bank
// into one float plane per channel. Layer III frames are recognised and passed over.
#pragma once

#include <cstdint>

#include "media/audio/AudioBitReader.h"
#include "media/audio/AudioFrameDecoder.h"
#include "media/audio/MpegSynthesisFilter.h"
#include "media/audio/PlanarMixer.h"
#include "media/audio/PlanarSampleBuffer.h"

namespace audio {

class MpegAudioFrameDecoder : public AudioFrameDecoder, public PlanarMixer {
public:
    MpegAudioFrameDecoder();
    ~MpegAudioFrameDecoder() override;

    int32_t DecodeFrame(const InputByteBuffer& buffer) override;
    int32_t OutputFrame(void* destination) override;
    void Reset() override;
    int32_t SamplesPerFrame() const override;

    const PlanarSampleBuffer& Frame() const { return m_frame; }

    // The fields of a four-byte header that decoding needs; false for an invalid header.
    struct Header {
        int layer;            // 0 = layer I, 1 = layer II, 2 = layer III
        uint32_t sampleRate;  // Hz
        uint32_t bitRate;     // bit/s
        uint32_t channels;
        int32_t frameBytes;   // header included
        int32_t headerBytes;  // 4, or 6 with a CRC word
        int table;            // layer II allocation table (0..3 for a..d)
        int sblimit;
        int bound;            // first subband coded jointly for both channels
    };
    static bool ParseHeader(const uint8_t* header, Header& out);

private:
    bool DecodeLayer1(AudioBitReader& bits);
    bool DecodeLayer2(AudioBitReader& bits);

    PlanarSampleBuffer m_frame;
    MpegSynthesisFilter m_synthesis[2];
    Header m_header = {};
    int m_layer = 3;
};

} // namespace audio
