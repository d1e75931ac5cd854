// An input pin that receives samples through IMemInputPin: allocator negotiation, the flushing
// flag and the streaming checks a Receive override usually starts with.
#pragma once

#include "dshow/CBasePin.h"

namespace dshow {

class CBaseInputPin : public CBasePin, public IMemInputPin {
public:
    CBaseInputPin(const wchar_t* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* result, const wchar_t* name);
    ~CBaseInputPin() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IMemInputPin
    STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override;
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP ReceiveMultiple(IMediaSample** samples, long count, long* processed) override;
    STDMETHODIMP ReceiveCanBlock() override;

    // IPin
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;

    HRESULT BreakConnect() override;
    HRESULT Inactive() override;
    // S_OK when a sample may be processed now: running or paused, not flushing, no earlier error.
    HRESULT CheckStreaming();
    bool IsFlushing() const { return m_flushing; }
    bool IsReadOnly() const { return m_readOnly; }

protected:
    IMemAllocator* m_allocator = nullptr; // one reference
    bool m_readOnly = false;
    volatile bool m_flushing = false;
    bool m_runTimeError = false;
};

} // namespace dshow
