#include "dshow/CRendererPosPassThru.h"

namespace dshow {

IMediaSeeking* CRendererPosPassThru::Upstream() const
{
    IPin* peer = m_input ? m_input->GetConnected() : nullptr;
    IMediaSeeking* seeking = nullptr;
    if (!peer || FAILED(peer->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking))))
        return nullptr;
    return seeking;
}

template <class Call>
HRESULT CRendererPosPassThru::Pass(Call call) const
{
    IMediaSeeking* seeking = Upstream();
    if (!seeking)
        return E_NOTIMPL;
    const HRESULT hr = call(seeking);
    seeking->Release();
    return hr;
}

STDMETHODIMP CRendererPosPassThru::GetCapabilities(DWORD* capabilities)
{
    return Pass([&](IMediaSeeking* s) { return s->GetCapabilities(capabilities); });
}

STDMETHODIMP CRendererPosPassThru::CheckCapabilities(DWORD* capabilities)
{
    return Pass([&](IMediaSeeking* s) { return s->CheckCapabilities(capabilities); });
}

STDMETHODIMP CRendererPosPassThru::IsFormatSupported(const GUID* format)
{
    return Pass([&](IMediaSeeking* s) { return s->IsFormatSupported(format); });
}

STDMETHODIMP CRendererPosPassThru::QueryPreferredFormat(GUID* format)
{
    return Pass([&](IMediaSeeking* s) { return s->QueryPreferredFormat(format); });
}

STDMETHODIMP CRendererPosPassThru::GetTimeFormat(GUID* format)
{
    return Pass([&](IMediaSeeking* s) { return s->GetTimeFormat(format); });
}

STDMETHODIMP CRendererPosPassThru::IsUsingTimeFormat(const GUID* format)
{
    return Pass([&](IMediaSeeking* s) { return s->IsUsingTimeFormat(format); });
}

STDMETHODIMP CRendererPosPassThru::SetTimeFormat(const GUID* format)
{
    return Pass([&](IMediaSeeking* s) { return s->SetTimeFormat(format); });
}

STDMETHODIMP CRendererPosPassThru::GetDuration(LONGLONG* duration)
{
    return Pass([&](IMediaSeeking* s) { return s->GetDuration(duration); });
}

STDMETHODIMP CRendererPosPassThru::GetStopPosition(LONGLONG* stop)
{
    return Pass([&](IMediaSeeking* s) { return s->GetStopPosition(stop); });
}

STDMETHODIMP CRendererPosPassThru::GetCurrentPosition(LONGLONG* current)
{
    return Pass([&](IMediaSeeking* s) { return s->GetCurrentPosition(current); });
}

STDMETHODIMP CRendererPosPassThru::ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                                     const GUID* sourceFormat)
{
    return Pass([&](IMediaSeeking* s) { return s->ConvertTimeFormat(target, targetFormat, source, sourceFormat); });
}

STDMETHODIMP CRendererPosPassThru::SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags)
{
    return Pass([&](IMediaSeeking* s) { return s->SetPositions(current, currentFlags, stop, stopFlags); });
}

STDMETHODIMP CRendererPosPassThru::GetPositions(LONGLONG* current, LONGLONG* stop)
{
    return Pass([&](IMediaSeeking* s) { return s->GetPositions(current, stop); });
}

STDMETHODIMP CRendererPosPassThru::GetAvailable(LONGLONG* earliest, LONGLONG* latest)
{
    return Pass([&](IMediaSeeking* s) { return s->GetAvailable(earliest, latest); });
}

STDMETHODIMP CRendererPosPassThru::SetRate(double rate)
{
    return Pass([&](IMediaSeeking* s) { return s->SetRate(rate); });
}

STDMETHODIMP CRendererPosPassThru::GetRate(double* rate)
{
    return Pass([&](IMediaSeeking* s) { return s->GetRate(rate); });
}

STDMETHODIMP CRendererPosPassThru::GetPreroll(LONGLONG* preroll)
{
    return Pass([&](IMediaSeeking* s) { return s->GetPreroll(preroll); });
}

} // namespace dshow
