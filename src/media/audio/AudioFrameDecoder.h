// What the audio decoder filter sees of a frame decoder: it hands over its buffer of compressed
// bytes, learns how many of them one call consumed, and has a decoded frame mixed into its output
// sample. A decoder reports a bad frame only through what it consumes.
#pragma once

#include <cstdint>

namespace audio {

class InputByteBuffer;

// Four-character stream tags, most significant character first.
constexpr uint32_t kTagAc3 = 0x41433320;  // 'AC3 '
constexpr uint32_t kTagMpeg = 0x4D504120; // 'MPA '

class AudioFrameDecoder {
public:
    struct StreamInfo {
        uint32_t tag;
        uint32_t sampleRate; // Hz
        uint32_t channels;
    };
    struct OutputFormat {
        float gain;
        uint32_t channels;
        uint32_t bitsPerSample;
    };

    virtual ~AudioFrameDecoder() = default;
    virtual const StreamInfo* GetStreamInfo() const { return &m_streamInfo; }
    virtual const OutputFormat* GetOutputFormat() const { return &m_outputFormat; }
    // Looks for one frame in the unread bytes of `buffer` (which it never changes) and returns how
    // many bytes to consume from the read pointer; 0 means nothing can be consumed yet.
    virtual int32_t DecodeFrame(const InputByteBuffer& buffer) = 0;
    // Mixes a decoded frame into `destination` (interleaved 16-bit PCM of the output format) and
    // returns the samples per channel written; 0 when no frame is ready or destination is null.
    virtual int32_t OutputFrame(void* destination) = 0;
    virtual void Reset() = 0;

    bool FrameReady() const { return m_frameReady; }

protected:
    explicit AudioFrameDecoder(uint32_t tag) : m_streamInfo{tag, 44100, 2}, m_outputFormat{1.0f, 2, 16} {}

    StreamInfo m_streamInfo;
    OutputFormat m_outputFormat;
    bool m_frameReady = false;
};

} // namespace audio
