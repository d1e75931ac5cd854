// An output pin of the MPEG push demultiplexer with its one fixed media type: MPEG-2 video, or
// MPEG-1 audio / AC-3 as the audio PES say.
#pragma once

#include "dshow/CMediaType.h"
#include "media/filters/mpegdemux/win/CBaseDemuxOutputPin.h"

namespace mpegdemux {

class CMPEGDemuxPin : public CBaseDemuxOutputPin {
public:
    enum AudioKind { kMpegAudio = 0, kAc3 = 1 };

    CMPEGDemuxPin(CBasePushDemux* filter, HRESULT* result, const wchar_t* name, int kind, LONG queueLimit);

    HRESULT CheckMediaType(const dshow::CMediaType* mt) override;
    HRESULT GetMediaType(int position, dshow::CMediaType* mt) override;

    // Audio pin: a new kind of audio PES. Drops the queue, offers the new type and asks the
    // downstream pin to take it.
    void SetAudioKind(int audioKind);
    int AudioKind() const { return m_audioKind; }
    // The fixed type of a pin kind and audio kind.
    static void BuildMediaType(int kind, int audioKind, dshow::CMediaType* mt);

private:
    HRESULT ReconnectDownstream();

    int m_audioKind = kMpegAudio;
    dshow::CMediaType m_offered;
};

} // namespace mpegdemux
