#include "dshow/TestSourceFilter.h"

namespace test {

// {6E0B5A2C-0D44-4F0A-9B1E-6A3C1D2E4F01}
static const GUID kTestSourceClsid = {0x6e0b5a2c, 0x0d44, 0x4f0a, {0x9b, 0x1e, 0x6a, 0x3c, 0x1d, 0x2e, 0x4f, 0x01}};

CTestSourcePin::CTestSourcePin(CTestSourceFilter* filter, dshow::CCritSec* lock, HRESULT* result)
    : CBaseOutputPin(L"TestSourcePin", filter, lock, result, L"Out")
{
}

CTestSourcePin::~CTestSourcePin() { Close(); }

HRESULT CTestSourcePin::CheckMediaType(const dshow::CMediaType* mt)
{
    return (*mt->Type() == MEDIATYPE_Stream && *mt->Subtype() == MEDIASUBTYPE_MPEG2_TRANSPORT) ? S_OK : S_FALSE;
}

HRESULT CTestSourcePin::GetMediaType(int position, dshow::CMediaType* mt)
{
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    mt->InitMediaType();
    mt->SetType(&MEDIATYPE_Stream);
    mt->SetSubtype(&MEDIASUBTYPE_MPEG2_TRANSPORT);
    mt->SetVariableSize();
    return S_OK;
}

HRESULT CTestSourcePin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    request->cBuffers = 4;
    request->cbBuffer = kBufferSize;
    ALLOCATOR_PROPERTIES actual;
    HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cbBuffer >= kBufferSize ? S_OK : E_FAIL;
}

HRESULT CTestSourcePin::Active()
{
    HRESULT hr = CBaseOutputPin::Active();
    if (FAILED(hr))
        return hr;
    return Create() ? S_OK : E_FAIL;
}

HRESULT CTestSourcePin::Inactive()
{
    // Decommit first: a worker waiting for a free buffer then fails out of GetBuffer.
    HRESULT hr = CBaseOutputPin::Inactive();
    if (ThreadExists()) {
        CallWorker(kExit);
        Close();
    }
    return hr;
}

DWORD CTestSourcePin::ThreadProc()
{
    for (uint32_t i = 0; i < m_bufferCount; ++i) {
        DWORD request;
        if (CheckRequest(&request)) {
            Reply(S_OK);
            return 0;
        }
        IMediaSample* sample = nullptr;
        if (FAILED(GetDeliveryBuffer(&sample, nullptr, nullptr, 0)))
            break;
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        LONG length = LengthOf(i);
        for (LONG j = 0; j < length; ++j)
            data[j] = PatternByte(i, static_cast<uint32_t>(j));
        sample->SetActualDataLength(length);
        REFERENCE_TIME start = static_cast<REFERENCE_TIME>(i) * 400000;
        REFERENCE_TIME end = start + 400000;
        sample->SetTime(&start, &end);
        HRESULT hr = Deliver(sample);
        sample->Release();
        if (hr != S_OK)
            break;
    }
    DeliverEndOfStream();
    GetRequest();
    Reply(S_OK);
    return 0;
}

CTestSourceFilter::CTestSourceFilter() : CBaseFilter(L"TestSource", nullptr, &m_filterLock, kTestSourceClsid)
{
    HRESULT hr = S_OK;
    m_pin = new CTestSourcePin(this, &m_filterLock, &hr);
}

CTestSourceFilter::~CTestSourceFilter() { delete m_pin; }

dshow::CBasePin* CTestSourceFilter::GetPin(int index) { return index == 0 ? m_pin : nullptr; }

} // namespace test
