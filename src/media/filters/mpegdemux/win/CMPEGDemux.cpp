#include "media/filters/mpegdemux/win/CMPEGDemux.h"

#include <new>

#include "dshow/CAutoLock.h"

namespace mpegdemux {

const GUID CLSID_MPEGDemux = {0x6b41c5a8, 0x8bf4, 0x4da8, {0x88, 0xcd, 0x28, 0xfa, 0x50, 0xad, 0x89, 0x8f}};

CMPEGDemux::CMPEGDemux(IUnknown* owner, HRESULT* result, LONG audioQueueLimit)
    : CBasePushDemux(L"BasePushDemux", owner, CLSID_MPEGDemux, result)
{
    HRESULT hr = S_OK;
    auto* video = new (std::nothrow) CMPEGDemuxPin(this, &hr, L"Video", CBaseDemuxOutputPin::kVideo, kVideoQueueLimit);
    auto* audio = new (std::nothrow) CMPEGDemuxPin(this, &hr, L"Audio", CBaseDemuxOutputPin::kAudio, audioQueueLimit);
    if (video)
        m_pins.push_back(video);
    if (audio)
        m_pins.push_back(audio);
    // The filter is of no use without both pins.
    if (result && (!video || !audio))
        *result = E_OUTOFMEMORY;
    else if (result && FAILED(hr))
        *result = hr;
}

STDMETHODIMP CMPEGDemux::FindPin(LPCWSTR id, IPin** pin)
{
    if (!pin)
        return E_POINTER;
    *pin = nullptr;
    if (!id)
        return E_FAIL;
    for (CBaseDemuxOutputPin* p : m_pins)
        if (p->Name() == id)
            return p->QueryInterface(IID_IPin, reinterpret_cast<void**>(pin));
    return E_FAIL;
}

STDMETHODIMP CMPEGDemux::Pause()
{
    // Activating a pin forgets its time base, so leaving the stopped state must start a new time
    // line in the core. Packets keep coming in on the pushing thread meanwhile: were the core reset
    // before the pins activate, a base it decided in between would reach the pins and then be
    // forgotten by an activation, and as the core decides once per line that pin would never
    // deliver again (downstream a renderer then never completes its pause). So activation and the
    // new line happen under one hold of the demux lock; an event of the old line handled after it
    // is of an older generation and dropped.
    dshow::CAutoLock filterLock(m_lock);
    dshow::CAutoLock lock(&m_demuxLock);
    const bool starting = IsStopped();
    const HRESULT hr = CBasePushDemux::Pause();
    if (SUCCEEDED(hr) && starting) {
        m_core.Reset();
        for (CBaseDemuxOutputPin* pin : m_pins)
            pin->StartGeneration(m_core.Generation());
    }
    return hr;
}

void CMPEGDemux::Restart(WORD videoPid, WORD audioPid)
{
    dshow::CAutoLock lock(&m_demuxLock);
    if (m_pins.size() < 2)
        return;
    for (CBaseDemuxOutputPin* pin : m_pins)
        if (pin->IsConnected())
            pin->DeliverBeginFlush();
    m_core.SetPIDs(videoPid, audioPid);
    for (CBaseDemuxOutputPin* pin : m_pins) {
        pin->StartGeneration(m_core.Generation());
        if (pin->IsConnected()) {
            pin->DeliverEndFlush();
            pin->DeliverNewSegment(0, 0x7FFFFFFFFFFFFFFFLL, 1.0);
        }
    }
}

HRESULT CMPEGDemux::SetPIDs(WORD videoPid, WORD audioPid, WORD)
{
    Restart(videoPid, audioPid);
    return S_OK;
}

HRESULT CMPEGDemux::Reset()
{
    WORD video, audio;
    {
        dshow::CAutoLock lock(&m_demuxLock);
        video = m_core.VideoPid();
        audio = m_core.AudioPid();
    }
    Restart(video, audio);
    return S_OK;
}

HRESULT CMPEGDemux::PushPacket(const BYTE* packet, int length)
{
    if (length < 0)
        return E_INVALIDARG;
    CMpegDemuxCore::CEvents events;
    HRESULT hr;
    {
        dshow::CAutoLock lock(&m_demuxLock);
        if (m_pins.size() < 2)
            return S_FALSE;
        hr = m_core.PushPacket(packet, static_cast<size_t>(length), ConnectedPins(), events);
    }
    // Outside the lock: queueing may wait for room.
    if (!events.empty())
        HandleEvents(events);
    return hr;
}

void CMPEGDemux::HandleEvents(CMpegDemuxCore::CEvents& events)
{
    for (auto& event : events) {
        switch (event.type) {
        case CMpegDemuxCore::CEvent::kTimeBase:
            OnTimeBase(event.timeBase, event.generation);
            break;
        case CMpegDemuxCore::CEvent::kAudioKindChanged:
            AudioPin()->SetAudioKind(event.audioKind);
            break;
        case CMpegDemuxCore::CEvent::kPayload:
            Pin(event.pin)->QueuePacket(std::move(event.packet), event.generation);
            break;
        }
    }
}

} // namespace mpegdemux
