// The input pin of CTransformFilter: every decision is the filter's.
#pragma once

#include "dshow/CBaseInputPin.h"

namespace dshow {

class CTransformFilter;

class CTransformInputPin : public CBaseInputPin {
public:
    CTransformInputPin(const wchar_t* objectName, CTransformFilter* filter, HRESULT* result, const wchar_t* name);

    HRESULT CheckMediaType(const CMediaType* mt) override;
    HRESULT SetMediaType(const CMediaType* mt) override;
    HRESULT CheckConnect(IPin* pin) override;
    HRESULT BreakConnect() override;
    HRESULT CompleteConnect(IPin* receivePin) override;

    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

private:
    CTransformFilter* m_transform;
};

} // namespace dshow
