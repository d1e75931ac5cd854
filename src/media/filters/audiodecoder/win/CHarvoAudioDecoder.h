// The DirectShow transform filter "Harvo Audio Decoder": AC-3 or MPEG-1 layer I/II audio in,
// 16-bit stereo PCM out. Input bytes gather in a buffer from which the frame decoder takes one
// frame at a time; each frame leaves as one output sample with computed times. A change of rate
// or channel count in the stream is carried downstream on the running connection.
//
// Locks: the decoder lock guards the frame decoder, the byte buffer and the output times; it is
// held across one frame's decode and delivery and released between frames.
#pragma once

#include "dshow/CCritSec.h"
#include "dshow/CTransformFilter.h"
#include "media/filters/audiodecoder/AudioFramePump.h"
#include "media/filters/audiodecoder/AudioTimeline.h"

namespace audiofilter {

// {B61A5F38-7A19-4B34-A6A0-194991DE6709}
extern const CLSID CLSID_HarvoAudioDecoder;

class CAudioInputPin;
class CAudioOutputPin;

class CHarvoAudioDecoder : public dshow::CTransformFilter {
public:
    static constexpr LONG kBufferSize = 65536;

    explicit CHarvoAudioDecoder(IUnknown* owner = nullptr, HRESULT* result = nullptr,
                                REFCLSID clsid = CLSID_HarvoAudioDecoder);
    ~CHarvoAudioDecoder() override;

    HRESULT CheckInputType(const dshow::CMediaType* in) override;
    HRESULT CheckTransform(const dshow::CMediaType* in, const dshow::CMediaType* out) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT GetMediaType(int position, dshow::CMediaType* mt) override;
    HRESULT SetMediaType(PIN_DIRECTION direction, const dshow::CMediaType* mt) override;
    HRESULT BreakConnect(PIN_DIRECTION direction) override;
    HRESULT CompleteConnect(PIN_DIRECTION direction, IPin* receivePin) override;
    HRESULT Receive(IMediaSample* sample) override;
    HRESULT BeginFlush() override;
    HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    // What the output is connected with (tests).
    uint32_t ConnectedChannels() const { return m_connectedChannels; }
    uint32_t ConnectedSampleRate() const { return m_connectedSampleRate; }

private:
    HRESULT DecodeLoop();
    HRESULT DeliverFrame();
    HRESULT ReconnectOutput();

    AudioFramePump m_pump;
    AudioTimeline m_timeline;
    dshow::CCritSec m_decoderLock;
    uint32_t m_connectedChannels = 0;
    uint32_t m_connectedSampleRate = 0;
    CAudioInputPin* m_audioInput = nullptr;
    CAudioOutputPin* m_audioOutput = nullptr;
};

} // namespace audiofilter
