// The input pin of CBaseRenderer: type decisions and samples go to the filter.
#pragma once

#include "dshow/CBaseInputPin.h"

namespace dshow {

class CBaseRenderer;

class CRendererInputPin : public CBaseInputPin {
public:
    CRendererInputPin(CBaseRenderer* renderer, HRESULT* result, const wchar_t* name);

    HRESULT CheckMediaType(const CMediaType* mt) override;
    HRESULT SetMediaType(const CMediaType* mt) override;
    HRESULT BreakConnect() override;
    HRESULT CompleteConnect(IPin* receivePin) override;

    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;

    CBaseRenderer* Renderer() const { return m_renderer; }

protected:
    CBaseRenderer* m_renderer;
};

} // namespace dshow
