// An output pin that delivers samples to a downstream IMemInputPin: allocator decision on
// connection, commit on activation, and the Deliver family.
#pragma once

#include "dshow/CBasePin.h"

namespace dshow {

class CBaseOutputPin : public CBasePin {
public:
    CBaseOutputPin(const wchar_t* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* result,
                   const wchar_t* name);
    ~CBaseOutputPin() override;

    // The buffer count and size this pin needs, written into the allocator.
    virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;
    virtual HRESULT DecideAllocator(IMemInputPin* input, IMemAllocator** allocator);
    virtual HRESULT InitAllocator(IMemAllocator** allocator);

    HRESULT GetDeliveryBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* end, DWORD flags);
    HRESULT Deliver(IMediaSample* sample);
    HRESULT DeliverEndOfStream();
    HRESULT DeliverBeginFlush();
    HRESULT DeliverEndFlush();
    HRESULT DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

    HRESULT CheckConnect(IPin* pin) override;
    HRESULT CompleteConnect(IPin* receivePin) override;
    HRESULT BreakConnect() override;
    HRESULT Active() override;
    HRESULT Inactive() override;

    // An output pin receives no stream control from downstream.
    STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }
    STDMETHODIMP BeginFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP EndFlush() override { return E_UNEXPECTED; }

protected:
    IMemAllocator* m_allocator = nullptr; // one reference while connected
    IMemInputPin* m_input = nullptr;      // one reference while connected
};

} // namespace dshow
