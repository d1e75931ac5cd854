// A sink for the demultiplexer tests: takes the media types it is told to, records every sample
// with its times and any media type it carries, and can hold samples back (a blocked renderer)
// until it stops.
#pragma once

#include <cstdint>
#include <vector>

#include "dshow/CAMEvent.h"
#include "dshow/CBaseFilter.h"
#include "dshow/CBaseInputPin.h"

namespace test {

struct ReceivedSample {
    std::vector<uint8_t> data;
    bool hasTime = false;
    REFERENCE_TIME start = 0;
    bool discontinuity = false;
    GUID newSubtype = GUID_NULL; // the subtype of a media type the sample carried
};

class CDemuxSinkFilter;

class CDemuxSinkPin : public dshow::CBaseInputPin {
public:
    CDemuxSinkPin(CDemuxSinkFilter* filter, dshow::CCritSec* lock, HRESULT* result);

    HRESULT CheckMediaType(const dshow::CMediaType* mt) override;
    HRESULT Inactive() override;
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP ReceiveCanBlock() override { return S_OK; }
    STDMETHODIMP BeginFlush() override;

    std::vector<ReceivedSample> Received();
    size_t Count();
    // Waits up to `milliseconds` for at least `count` samples with data.
    bool WaitForSamples(size_t count, DWORD milliseconds);

    std::vector<GUID> m_accepted; // subtypes taken
    dshow::CAMEvent m_gate{true}; // Receive waits for it; set unless a test holds samples back
    volatile LONG m_flushes = 0;
    volatile LONG m_waiting = 0; // Receive calls held at the gate

private:
    dshow::CCritSec m_receiveLock;
    std::vector<ReceivedSample> m_received;
};

class CDemuxSinkFilter : public dshow::CBaseFilter {
public:
    CDemuxSinkFilter();
    ~CDemuxSinkFilter() override;
    int GetPinCount() override { return 1; }
    dshow::CBasePin* GetPin(int index) override { return index == 0 ? m_pin : nullptr; }
    CDemuxSinkPin* Pin() { return m_pin; }

private:
    dshow::CCritSec m_filterLock;
    CDemuxSinkPin* m_pin;
};

} // namespace test
