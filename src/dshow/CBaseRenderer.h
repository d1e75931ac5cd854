// A filter with one input pin that presents samples at their time on the reference clock.
//
// Each sample is held until it is due: while paused the first sample is kept (the filter then
// counts as ready) and waits for Run; while running its start time plus the stream start is
// asked of the clock (AdviseTime), and it is rendered when that fires. Samples without a time,
// or with no clock, are rendered at once. Stop and flushes abandon a waiting sample. After the
// last sample, end of stream is reported to the graph as EC_COMPLETE (at once when running,
// otherwise on the next Run).
//
// Locks: the interface lock (m_InterfaceLock, the filter lock) guards state changes and is held
// while a sample is rendered; the renderer lock (m_RendererLock) guards the pending sample and
// the end-of-stream flags. Subclasses that keep a lock of their own take it after the interface lock.
// IMediaSeeking is passed to the upstream pin (CRendererPosPassThru).
#pragma once

#include "dshow/CAMEvent.h"
#include "dshow/CBaseFilter.h"
#include "dshow/CCritSec.h"
#include "dshow/CMediaType.h"
#include "dshow/CRendererPosPassThru.h"

namespace dshow {

class CRendererInputPin;

class CBaseRenderer : public CBaseFilter, public IAMFilterMiscFlags {
public:
    CBaseRenderer(REFCLSID clsid, const wchar_t* name, IUnknown* owner, HRESULT* result);
    ~CBaseRenderer() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    // The graph counts the filters marked as renderers to know when every stream has ended.
    STDMETHODIMP_(ULONG) GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_RENDERER; }

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int index) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME start) override;
    STDMETHODIMP GetState(DWORD milliseconds, FILTER_STATE* state) override;

    // What subclasses decide.
    virtual HRESULT CheckMediaType(const CMediaType* mt) = 0;
    virtual HRESULT DoRenderSample(IMediaSample* sample) = 0;
    virtual HRESULT SetMediaType(const CMediaType* mt) { return S_OK; }
    virtual HRESULT BreakConnect() { return S_OK; }
    virtual HRESULT CompleteConnect(IPin* receivePin) { return S_OK; }
    virtual HRESULT OnStartStreaming() { return S_OK; }
    virtual HRESULT OnStopStreaming() { return S_OK; }
    // Called when a sample arrives while paused, before it waits for Run.
    virtual void OnReceiveFirstSample(IMediaSample* sample) {}

    // Streaming entry points from the input pin.
    virtual HRESULT Receive(IMediaSample* sample);
    virtual HRESULT EndOfStream();
    virtual HRESULT BeginFlush();
    virtual HRESULT EndFlush();

    CRendererInputPin* InputPin();
    CCritSec* InterfaceLock() { return &m_InterfaceLock; }
    // EC_COMPLETE notifications sent since the last stop (tests read it).
    LONG CompletionsSent() const { return m_completions; }

protected:
    // Waits until the sample is due; S_OK to render, S_FALSE when abandoned (stop or flush).
    HRESULT WaitForRenderTime(IMediaSample* sample);
    void SendEndOfStream();
    void Ready() { m_evReady.Set(); }

    CCritSec m_InterfaceLock;
    CCritSec m_RendererLock;
    CRendererInputPin* m_pInputPin = nullptr; // a subclass may put its own pin here in its constructor
    CRendererPosPassThru* m_position = nullptr; // made on the first query for IMediaSeeking

private:
    CAMEvent m_evReady{true};     // paused with a sample or at end of stream: the state change is complete
    CAMEvent m_evAbort{true};     // stop or flush: a waiting sample is abandoned
    CAMEvent m_evStateChanged;    // a paused sample re-examines the state
    CAMEvent m_evRenderTime;      // the clock's advise for the sample in hand
    bool m_eos = false;           // end of stream received
    bool m_eosDelivered = false;  // EC_COMPLETE sent for it
    bool m_holdingSample = false;
    volatile LONG m_completions = 0;
};

} // namespace dshow
