// The output pin of the tests' push sources (header only, so every test program that compiles a
// source gets it): it offers one media type; when the graph pauses it starts a worker that fills
// and delivers one sample after another (as the subclass says) and then end-of-stream; stopping
// decommits the allocator first, so a worker waiting for a buffer fails out, then ends the worker.
#pragma once

#include <cstdint>

#include "dshow/CAMThread.h"
#include "dshow/CBaseOutputPin.h"
#include "dshow/CMediaType.h"

namespace test {

class CTestPushPin : public dshow::CBaseOutputPin, public dshow::CAMThread {
public:
    CTestPushPin(const wchar_t* objectName, dshow::CBaseFilter* filter, dshow::CCritSec* lock, HRESULT* result);
    ~CTestPushPin() override;

    HRESULT GetMediaType(int position, dshow::CMediaType* mt) override;
    HRESULT Active() override;
    HRESULT Inactive() override;

protected:
    // The one media type the source offers.
    virtual void MakeMediaType(dshow::CMediaType* mt) = 0;
    // Four buffers of at least `size` bytes each, else E_FAIL.
    HRESULT RequestBuffers(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request, LONG size);
    // True while the stream has a sample number `index`.
    virtual bool HasSample(uint32_t index) = 0;
    // Fills sample number `index`: data, length, times and flags.
    virtual void FillSample(uint32_t index, IMediaSample* sample) = 0;
    DWORD ThreadProc() override;

private:
    static constexpr DWORD kExit = 1;
};

inline CTestPushPin::CTestPushPin(const wchar_t* objectName, dshow::CBaseFilter* filter, dshow::CCritSec* lock,
                                  HRESULT* result)
    : CBaseOutputPin(objectName, filter, lock, result, L"Out")
{
}

inline CTestPushPin::~CTestPushPin() { Close(); }

inline HRESULT CTestPushPin::GetMediaType(int position, dshow::CMediaType* mt)
{
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    MakeMediaType(mt);
    return S_OK;
}

inline HRESULT CTestPushPin::RequestBuffers(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request, LONG size)
{
    request->cBuffers = 4;
    request->cbBuffer = size;
    ALLOCATOR_PROPERTIES actual;
    HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cbBuffer >= size ? S_OK : E_FAIL;
}

inline HRESULT CTestPushPin::Active()
{
    HRESULT hr = CBaseOutputPin::Active();
    if (FAILED(hr))
        return hr;
    return Create() ? S_OK : E_FAIL;
}

inline HRESULT CTestPushPin::Inactive()
{
    // Decommit first: a worker waiting for a free buffer then fails out of GetBuffer.
    HRESULT hr = CBaseOutputPin::Inactive();
    if (ThreadExists()) {
        CallWorker(kExit);
        Close();
    }
    return hr;
}

inline DWORD CTestPushPin::ThreadProc()
{
    for (uint32_t i = 0; HasSample(i); ++i) {
        DWORD request;
        if (CheckRequest(&request)) {
            Reply(S_OK);
            return 0;
        }
        IMediaSample* sample = nullptr;
        if (FAILED(GetDeliveryBuffer(&sample, nullptr, nullptr, 0)))
            break;
        FillSample(i, sample);
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

} // namespace test
