#include "dshow/CRendererInputPin.h"

#include "dshow/CAutoLock.h"
#include "dshow/CBaseRenderer.h"

namespace dshow {

CRendererInputPin::CRendererInputPin(CBaseRenderer* renderer, HRESULT* result, const wchar_t* name)
    : CBaseInputPin(L"Renderer input pin", renderer, renderer->InterfaceLock(), result, name), m_renderer(renderer)
{
}

HRESULT CRendererInputPin::CheckMediaType(const CMediaType* mt) { return m_renderer->CheckMediaType(mt); }

HRESULT CRendererInputPin::SetMediaType(const CMediaType* mt)
{
    HRESULT hr = m_renderer->SetMediaType(mt);
    if (FAILED(hr))
        return hr;
    return CBasePin::SetMediaType(mt);
}

HRESULT CRendererInputPin::BreakConnect()
{
    m_renderer->BreakConnect();
    return CBaseInputPin::BreakConnect();
}

HRESULT CRendererInputPin::CompleteConnect(IPin* receivePin)
{
    HRESULT hr = m_renderer->CompleteConnect(receivePin);
    if (FAILED(hr))
        return hr;
    return CBaseInputPin::CompleteConnect(receivePin);
}

STDMETHODIMP CRendererInputPin::Receive(IMediaSample* sample)
{
    HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK)
        return hr;
    return m_renderer->Receive(sample);
}

STDMETHODIMP CRendererInputPin::EndOfStream()
{
    HRESULT hr = CheckStreaming();
    if (hr != S_OK)
        return hr;
    return m_renderer->EndOfStream();
}

STDMETHODIMP CRendererInputPin::BeginFlush()
{
    CAutoLock lock(m_lock);
    CBaseInputPin::BeginFlush();
    return m_renderer->BeginFlush();
}

STDMETHODIMP CRendererInputPin::EndFlush()
{
    CAutoLock lock(m_lock);
    m_renderer->EndFlush();
    return CBaseInputPin::EndFlush();
}

} // namespace dshow
