// A sink for the base-class tests: records every buffer it receives and signals end-of-stream.
// It accepts one major type, so tests can also see a connection being refused.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "dshow/CAMEvent.h"
#include "dshow/CBaseFilter.h"
#include "dshow/CBaseInputPin.h"
#include "dshow/CMediaType.h"

namespace test {

class CTestSinkFilter;

class CTestSinkPin : public dshow::CBaseInputPin {
public:
    CTestSinkPin(CTestSinkFilter* filter, dshow::CCritSec* lock, HRESULT* result, const GUID& accepted);

    HRESULT CheckMediaType(const dshow::CMediaType* mt) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* mt) override;
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP ReceiveCanBlock() override { return S_FALSE; }

    // Copies of what arrived, one entry per buffer.
    std::vector<std::vector<uint8_t>> Received();
    // Start and stop times of the buffers that carried both (in arrival order).
    std::vector<std::pair<REFERENCE_TIME, REFERENCE_TIME>> Times();
    void ClearReceived();
    // The media types that arrived on samples, each with the index of its buffer.
    std::vector<std::pair<size_t, dshow::CMediaType>> SampleTypes();
    dshow::CAMEvent m_endOfStream{true};
    volatile LONG m_refusedSamples = 0;
    // A wave-format sample rate this pin refuses (0: none), and what QueryAccept answers for a
    // type it refuses: S_FALSE, as a running renderer that still takes the type on a sample says,
    // or a failure code.
    DWORD m_refusedSampleRate = 0;
    HRESULT m_refusal = S_FALSE;

private:
    GUID m_accepted;
    dshow::CCritSec m_receiveLock;
    std::vector<std::vector<uint8_t>> m_received;
    std::vector<std::pair<REFERENCE_TIME, REFERENCE_TIME>> m_times;
    std::vector<std::pair<size_t, dshow::CMediaType>> m_sampleTypes;
};

class CTestSinkFilter : public dshow::CBaseFilter {
public:
    explicit CTestSinkFilter(const GUID& accepted);
    ~CTestSinkFilter() override;
    int GetPinCount() override { return 1; }
    dshow::CBasePin* GetPin(int index) override;
    CTestSinkPin* Pin() { return m_pin; }

private:
    dshow::CCritSec m_filterLock;
    CTestSinkPin* m_pin;
};

} // namespace test
