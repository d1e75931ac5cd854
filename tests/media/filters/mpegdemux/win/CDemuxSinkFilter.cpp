#include "media/filters/mpegdemux/win/CDemuxSinkFilter.h"

#include <algorithm>

#include "dshow/CAutoLock.h"
#include "dshow/MediaTypes.h"

namespace test {

// {3C1F7D0E-5A4B-4C2D-8E9F-0A1B2C3D4E5F}
static const GUID kDemuxSinkClsid = {0x3c1f7d0e, 0x5a4b, 0x4c2d, {0x8e, 0x9f, 0x0a, 0x1b, 0x2c, 0x3d, 0x4e, 0x5f}};

CDemuxSinkPin::CDemuxSinkPin(CDemuxSinkFilter* filter, dshow::CCritSec* lock, HRESULT* result)
    : CBaseInputPin(L"DemuxSinkPin", filter, lock, result, L"In")
{
    m_gate.Set();
}

HRESULT CDemuxSinkPin::CheckMediaType(const dshow::CMediaType* mt)
{
    return std::find(m_accepted.begin(), m_accepted.end(), *mt->Subtype()) != m_accepted.end() ? S_OK : S_FALSE;
}

HRESULT CDemuxSinkPin::Inactive()
{
    m_gate.Set(); // a stopping renderer lets its held samples go
    return CBaseInputPin::Inactive();
}

STDMETHODIMP CDemuxSinkPin::BeginFlush()
{
    InterlockedIncrement(&m_flushes);
    return CBaseInputPin::BeginFlush();
}

STDMETHODIMP CDemuxSinkPin::Receive(IMediaSample* sample)
{
    InterlockedIncrement(&m_waiting);
    m_gate.Wait();
    InterlockedDecrement(&m_waiting);
    HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK)
        return hr;
    ReceivedSample r;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    r.data.assign(data, data + sample->GetActualDataLength());
    REFERENCE_TIME start, stop;
    r.hasTime = sample->GetTime(&start, &stop) == S_OK;
    r.start = r.hasTime ? start : 0;
    r.discontinuity = sample->IsDiscontinuity() == S_OK;
    AM_MEDIA_TYPE* type = nullptr;
    if (sample->GetMediaType(&type) == S_OK && type) {
        r.newSubtype = type->subtype;
        dshow::DeleteMediaType(type);
    }
    dshow::CAutoLock lock(&m_receiveLock);
    m_received.push_back(std::move(r));
    return S_OK;
}

std::vector<ReceivedSample> CDemuxSinkPin::Received()
{
    dshow::CAutoLock lock(&m_receiveLock);
    return m_received;
}

size_t CDemuxSinkPin::Count()
{
    dshow::CAutoLock lock(&m_receiveLock);
    return static_cast<size_t>(std::count_if(m_received.begin(), m_received.end(),
                                             [](const ReceivedSample& s) { return !s.data.empty(); }));
}

bool CDemuxSinkPin::WaitForSamples(size_t count, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (Count() < count) {
        if (GetTickCount() - start > milliseconds)
            return false;
        Sleep(1);
    }
    return true;
}

CDemuxSinkFilter::CDemuxSinkFilter() : CBaseFilter(L"DemuxSink", nullptr, &m_filterLock, kDemuxSinkClsid)
{
    HRESULT hr = S_OK;
    m_pin = new CDemuxSinkPin(this, &m_filterLock, &hr);
}

CDemuxSinkFilter::~CDemuxSinkFilter() { delete m_pin; }

} // namespace test
