#include "media/filters/audiodecoder/AudioFramePump.h"

#include <new>

#include "media/audio/AC3FrameDecoder.h"
#include "media/audio/MpegAudioFrameDecoder.h"

namespace audiofilter {

AudioFramePump::AudioFramePump()
{
    m_buffer.Allocate(kBufferSize);
}

bool AudioFramePump::SetStreamKind(StreamKind kind)
{
    m_decoder.reset();
    m_mixer = nullptr;
    m_buffer.Empty();
    if (kind == StreamKind::kAc3) {
        auto* decoder = new (std::nothrow) audio::AC3FrameDecoder;
        m_decoder.reset(decoder);
        m_mixer = decoder;
    } else if (kind == StreamKind::kMpeg) {
        auto* decoder = new (std::nothrow) audio::MpegAudioFrameDecoder;
        m_decoder.reset(decoder);
        m_mixer = decoder;
    }
    return kind == StreamKind::kNone || m_decoder != nullptr;
}

void AudioFramePump::Reset()
{
    if (m_decoder)
        m_decoder->Reset();
    m_buffer.Empty();
}

bool AudioFramePump::Append(const uint8_t* data, int32_t length)
{
    return m_buffer.Append(data, length) == length;
}

bool AudioFramePump::DecodeNext()
{
    if (!m_decoder)
        return false;
    const int32_t consumed = m_decoder->DecodeFrame(m_buffer);
    if (consumed < 1)
        return false;
    m_buffer.Consume(consumed);
    return true;
}

size_t AudioFramePump::FrameBytes() const
{
    if (!m_decoder)
        return 0;
    const audio::AudioFrameDecoder::OutputFormat* format = m_decoder->GetOutputFormat();
    const int32_t samples = m_mixer->SamplesPerFrame();
    return samples > 0 ? static_cast<size_t>(samples) * format->channels * (format->bitsPerSample / 8) : 0;
}

int32_t AudioFramePump::OutputFrame(void* destination, size_t capacity)
{
    if (!FrameReady() || !destination || capacity < FrameBytes())
        return 0;
    return m_decoder->OutputFrame(destination);
}

} // namespace audiofilter
