#include "dshow/TestSinkFilter.h"

#include "dshow/CAutoLock.h"
#include "dshow/MediaTypes.h"

namespace test {

// {6E0B5A2C-0D44-4F0A-9B1E-6A3C1D2E4F02}
static const GUID kTestSinkClsid = {0x6e0b5a2c, 0x0d44, 0x4f0a, {0x9b, 0x1e, 0x6a, 0x3c, 0x1d, 0x2e, 0x4f, 0x02}};

CTestSinkPin::CTestSinkPin(CTestSinkFilter* filter, dshow::CCritSec* lock, HRESULT* result, const GUID& accepted)
    : CBaseInputPin(L"TestSinkPin", filter, lock, result, L"In"), m_accepted(accepted)
{
}

HRESULT CTestSinkPin::CheckMediaType(const dshow::CMediaType* mt)
{
    if (*mt->Type() != m_accepted)
        return S_FALSE;
    // A wave format's rate, as a renderer that cannot play it would say.
    if (m_refusedSampleRate && *mt->FormatType() == FORMAT_WaveFormatEx && mt->FormatLength() >= 8 &&
        reinterpret_cast<const DWORD*>(mt->Format())[1] == m_refusedSampleRate)
        return S_FALSE;
    return S_OK;
}

STDMETHODIMP CTestSinkPin::QueryAccept(const AM_MEDIA_TYPE* mt)
{
    const HRESULT hr = CBaseInputPin::QueryAccept(mt);
    return hr == S_FALSE ? m_refusal : hr;
}

STDMETHODIMP CTestSinkPin::Receive(IMediaSample* sample)
{
    HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK) {
        InterlockedIncrement(&m_refusedSamples);
        return hr;
    }
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    LONG length = sample->GetActualDataLength();
    REFERENCE_TIME start = 0, stop = 0;
    const bool timed = sample->GetTime(&start, &stop) == S_OK;
    dshow::CAutoLock lock(&m_receiveLock);
    AM_MEDIA_TYPE* type = nullptr;
    if (sample->GetMediaType(&type) == S_OK && type) {
        m_sampleTypes.emplace_back(m_received.size(), dshow::CMediaType(*type));
        dshow::DeleteMediaType(type);
    }
    m_received.emplace_back(data, data + length);
    if (timed)
        m_times.emplace_back(start, stop);
    return S_OK;
}

STDMETHODIMP CTestSinkPin::EndOfStream()
{
    m_endOfStream.Set();
    return S_OK;
}

std::vector<std::vector<uint8_t>> CTestSinkPin::Received()
{
    dshow::CAutoLock lock(&m_receiveLock);
    return m_received;
}

std::vector<std::pair<REFERENCE_TIME, REFERENCE_TIME>> CTestSinkPin::Times()
{
    dshow::CAutoLock lock(&m_receiveLock);
    return m_times;
}

std::vector<std::pair<size_t, dshow::CMediaType>> CTestSinkPin::SampleTypes()
{
    dshow::CAutoLock lock(&m_receiveLock);
    return m_sampleTypes;
}

void CTestSinkPin::ClearReceived()
{
    dshow::CAutoLock lock(&m_receiveLock);
    m_received.clear();
    m_times.clear();
    m_sampleTypes.clear();
    m_endOfStream.Reset();
}

CTestSinkFilter::CTestSinkFilter(const GUID& accepted)
    : CBaseFilter(L"TestSink", nullptr, &m_filterLock, kTestSinkClsid)
{
    HRESULT hr = S_OK;
    m_pin = new CTestSinkPin(this, &m_filterLock, &hr, accepted);
}

CTestSinkFilter::~CTestSinkFilter() { delete m_pin; }

dshow::CBasePin* CTestSinkFilter::GetPin(int index) { return index == 0 ? m_pin : nullptr; }

} // namespace test
