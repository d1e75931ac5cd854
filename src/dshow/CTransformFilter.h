// A filter with one input and one output pin that turns each input sample into output: pin
// plumbing, the stopped/paused/running moves with the streaming start and stop hooks, and the
// flush, end-of-stream and new-segment passage downstream. Subclasses decide the types and the
// work; Receive may be overridden to produce any number of output samples per input sample.
//
// Locks: the filter lock (m_csFilter) guards state changes and connections; the receive lock
// (m_csReceive) is held on the streaming thread around Receive and EndOfStream, and by Stop
// while streaming is switched off, so Stop waits for a sample in flight.
#pragma once

#include "dshow/CBaseFilter.h"
#include "dshow/CCritSec.h"
#include "dshow/CMediaType.h"

namespace dshow {

class CTransformInputPin;
class CTransformOutputPin;

class CTransformFilter : public CBaseFilter {
public:
    CTransformFilter(const wchar_t* name, IUnknown* owner, REFCLSID clsid);
    ~CTransformFilter() override;

    int GetPinCount() override { return 2; }
    CBasePin* GetPin(int index) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;

    // What subclasses decide.
    virtual HRESULT CheckInputType(const CMediaType* in) = 0;
    virtual HRESULT CheckTransform(const CMediaType* in, const CMediaType* out) = 0;
    virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;
    virtual HRESULT GetMediaType(int position, CMediaType* mt) = 0;
    // One input sample into one output sample; only used by the default Receive.
    virtual HRESULT Transform(IMediaSample* in, IMediaSample* out) { return E_UNEXPECTED; }

    virtual HRESULT StartStreaming() { return S_OK; }
    virtual HRESULT StopStreaming() { return S_OK; }
    virtual HRESULT SetMediaType(PIN_DIRECTION direction, const CMediaType* mt) { return S_OK; }
    virtual HRESULT CheckConnect(PIN_DIRECTION direction, IPin* pin) { return S_OK; }
    virtual HRESULT BreakConnect(PIN_DIRECTION direction) { return S_OK; }
    virtual HRESULT CompleteConnect(PIN_DIRECTION direction, IPin* receivePin) { return S_OK; }

    // Streaming entry points, called by the input pin (Receive and EndOfStream under the receive lock).
    virtual HRESULT Receive(IMediaSample* sample);
    virtual HRESULT EndOfStream();
    virtual HRESULT BeginFlush();
    virtual HRESULT EndFlush();
    virtual HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

    CTransformInputPin* InputPin();
    CTransformOutputPin* OutputPin();
    CCritSec* FilterLock() { return &m_csFilter; }
    CCritSec* ReceiveLock() { return &m_csReceive; }

protected:
    // An output sample laid out in the format downstream asks for: a renderer that changes format
    // while running attaches the new media type to the next sample, and that type becomes the
    // output's (pin and filter) before anything is written into the sample. A type the output
    // refuses releases the sample and fails.
    HRESULT GetFormatFollowingSample(IMediaSample** sample);
    // Fills an output sample for the default Receive: times, sync point, discontinuity and media
    // times copied from the input sample.
    HRESULT InitializeOutputSample(IMediaSample* in, IMediaSample** out);

    CCritSec m_csFilter;
    CCritSec m_csReceive;
    CTransformInputPin* m_pInput = nullptr;
    CTransformOutputPin* m_pOutput = nullptr;
    bool m_bEOSDelivered = false;

private:
    bool MakePins();
};

} // namespace dshow
