// The audio decoder filter's sample path without DirectShow: the frame decoder for the input's
// stream kind, the byte buffer that gathers compressed input, one frame at a time out of it, and
// the decoded frame mixed into an output buffer whose size is checked first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "media/audio/AudioFrameDecoder.h"
#include "media/audio/InputByteBuffer.h"
#include "media/audio/PlanarMixer.h"

namespace audiofilter {

enum class StreamKind { kNone, kAc3, kMpeg };

class AudioFramePump {
public:
    static constexpr int32_t kBufferSize = 0x20000;

    AudioFramePump();

    bool Allocated() const { return m_buffer.Capacity() == kBufferSize; }
    // Replaces the frame decoder (none for kNone) and drops the unread bytes.
    bool SetStreamKind(StreamKind kind);
    bool HasDecoder() const { return m_decoder != nullptr; }
    const audio::AudioFrameDecoder* Decoder() const { return m_decoder.get(); }

    // Discontinuity, flush, new segment: the decoder's state and the unread bytes go.
    void Reset();
    // False (and nothing kept) when the bytes do not fit beside the unread ones.
    bool Append(const uint8_t* data, int32_t length);
    // Decodes the next frame from the unread bytes and consumes what the decoder took; false when
    // it could take nothing yet. FrameReady() then tells whether a frame came out.
    bool DecodeNext();
    bool FrameReady() const { return m_decoder && m_decoder->FrameReady(); }

    // Bytes one mixed frame takes in the output format.
    size_t FrameBytes() const;
    // Mixes the ready frame into `destination` of `capacity` bytes and returns the samples per
    // channel written; 0 when no frame is ready or the buffer is too small for it.
    int32_t OutputFrame(void* destination, size_t capacity);

private:
    std::unique_ptr<audio::AudioFrameDecoder> m_decoder;
    const audio::PlanarMixer* m_mixer = nullptr;
    audio::InputByteBuffer m_buffer;
};

} // namespace audiofilter
