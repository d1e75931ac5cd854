#include "dshow/CTransformInputPin.h"

#include "dshow/CAutoLock.h"
#include "dshow/CTransformFilter.h"
#include "dshow/CTransformOutputPin.h"

namespace dshow {

CTransformInputPin::CTransformInputPin(const wchar_t* objectName, CTransformFilter* filter, HRESULT* result,
                                       const wchar_t* name)
    : CBaseInputPin(objectName, filter, filter->FilterLock(), result, name), m_transform(filter)
{
}

HRESULT CTransformInputPin::CheckMediaType(const CMediaType* mt)
{
    HRESULT hr = m_transform->CheckInputType(mt);
    if (hr != S_OK)
        return hr;
    // Reconnecting the input while the output is connected: the old output type must still fit.
    CTransformOutputPin* out = m_transform->OutputPin();
    if (out && out->IsConnected())
        return m_transform->CheckTransform(mt, &out->CurrentMediaType());
    return S_OK;
}

HRESULT CTransformInputPin::SetMediaType(const CMediaType* mt)
{
    HRESULT hr = CBasePin::SetMediaType(mt);
    if (FAILED(hr))
        return hr;
    return m_transform->SetMediaType(PINDIR_INPUT, mt);
}

HRESULT CTransformInputPin::CheckConnect(IPin* pin)
{
    HRESULT hr = m_transform->CheckConnect(PINDIR_INPUT, pin);
    if (FAILED(hr))
        return hr;
    return CBaseInputPin::CheckConnect(pin);
}

HRESULT CTransformInputPin::BreakConnect()
{
    m_transform->BreakConnect(PINDIR_INPUT);
    return CBaseInputPin::BreakConnect();
}

HRESULT CTransformInputPin::CompleteConnect(IPin* receivePin)
{
    HRESULT hr = m_transform->CompleteConnect(PINDIR_INPUT, receivePin);
    if (FAILED(hr))
        return hr;
    return CBaseInputPin::CompleteConnect(receivePin);
}

STDMETHODIMP CTransformInputPin::Receive(IMediaSample* sample)
{
    CAutoLock receive(m_transform->ReceiveLock());
    HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK)
        return hr;
    return m_transform->Receive(sample);
}

STDMETHODIMP CTransformInputPin::EndOfStream()
{
    CAutoLock receive(m_transform->ReceiveLock());
    HRESULT hr = CheckStreaming();
    if (hr != S_OK)
        return hr;
    return m_transform->EndOfStream();
}

STDMETHODIMP CTransformInputPin::BeginFlush()
{
    CAutoLock lock(m_lock);
    if (!IsConnected() || !m_transform->OutputPin()->IsConnected())
        return VFW_E_NOT_CONNECTED;
    HRESULT hr = CBaseInputPin::BeginFlush();
    if (FAILED(hr))
        return hr;
    return m_transform->BeginFlush();
}

STDMETHODIMP CTransformInputPin::EndFlush()
{
    CAutoLock lock(m_lock);
    if (!IsConnected() || !m_transform->OutputPin()->IsConnected())
        return VFW_E_NOT_CONNECTED;
    HRESULT hr = m_transform->EndFlush();
    if (FAILED(hr))
        return hr;
    return CBaseInputPin::EndFlush();
}

STDMETHODIMP CTransformInputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    CBasePin::NewSegment(start, stop, rate);
    return m_transform->NewSegment(start, stop, rate);
}

} // namespace dshow
