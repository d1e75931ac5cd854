#include "dshow/CTransformFilter.h"

#include <new>

#include "dshow/CAutoLock.h"
#include "dshow/CTransformInputPin.h"
#include "dshow/CTransformOutputPin.h"
#include "dshow/MediaTypes.h"

namespace dshow {

CTransformFilter::CTransformFilter(const wchar_t* name, IUnknown* owner, REFCLSID clsid)
    : CBaseFilter(name, owner, &m_csFilter, clsid)
{
}

CTransformFilter::~CTransformFilter()
{
    delete m_pInput;
    delete m_pOutput;
}

bool CTransformFilter::MakePins()
{
    if (m_pInput && m_pOutput)
        return true;
    HRESULT hr = S_OK;
    if (!m_pInput)
        m_pInput = new (std::nothrow) CTransformInputPin(L"Transform input pin", this, &hr, L"XForm In");
    if (!m_pOutput)
        m_pOutput = new (std::nothrow) CTransformOutputPin(L"Transform output pin", this, &hr, L"XForm Out");
    return m_pInput && m_pOutput;
}

CBasePin* CTransformFilter::GetPin(int index)
{
    if (!MakePins())
        return nullptr;
    if (index == 0)
        return m_pInput;
    if (index == 1)
        return m_pOutput;
    return nullptr;
}

CTransformInputPin* CTransformFilter::InputPin()
{
    MakePins();
    return m_pInput;
}

CTransformOutputPin* CTransformFilter::OutputPin()
{
    MakePins();
    return m_pOutput;
}

STDMETHODIMP CTransformFilter::FindPin(LPCWSTR id, IPin** pin)
{
    // The classic identifiers "In" and "Out" name the two pins as well as their full names.
    if (id && pin && MakePins()) {
        if (wcscmp(id, L"In") == 0)
            return GetInterface(static_cast<IPin*>(m_pInput), reinterpret_cast<void**>(pin));
        if (wcscmp(id, L"Out") == 0)
            return GetInterface(static_cast<IPin*>(m_pOutput), reinterpret_cast<void**>(pin));
    }
    return CBaseFilter::FindPin(id, pin);
}

STDMETHODIMP CTransformFilter::Stop()
{
    CAutoLock lock(&m_csFilter);
    if (m_state == State_Stopped)
        return S_OK;
    if (!MakePins() || !m_pInput->IsConnected() || !m_pOutput->IsConnected()) {
        m_state = State_Stopped;
        m_bEOSDelivered = false;
        return S_OK;
    }
    // The input first: its allocator fails further GetBuffer calls upstream, so the streaming
    // thread leaves Receive and the receive lock becomes free.
    m_pInput->Inactive();
    CAutoLock receive(&m_csReceive);
    m_pOutput->Inactive();
    HRESULT hr = StopStreaming();
    if (SUCCEEDED(hr)) {
        m_state = State_Stopped;
        m_bEOSDelivered = false;
    }
    return hr;
}

STDMETHODIMP CTransformFilter::Pause()
{
    CAutoLock lock(&m_csFilter);
    HRESULT hr = S_OK;
    if (m_state == State_Paused)
        return S_OK;
    if (!MakePins())
        return E_OUTOFMEMORY;
    if (!m_pInput->IsConnected()) {
        // Nothing will ever arrive: tell downstream the stream is over at once.
        if (m_pOutput->IsConnected() && !m_bEOSDelivered) {
            m_pOutput->DeliverEndOfStream();
            m_bEOSDelivered = true;
        }
    } else if (!m_pOutput->IsConnected()) {
        // Input samples have nowhere to go; pausing still succeeds.
    } else if (m_state == State_Stopped) {
        CAutoLock receive(&m_csReceive);
        hr = StartStreaming();
    }
    if (SUCCEEDED(hr))
        hr = CBaseFilter::Pause();
    return hr;
}

HRESULT CTransformFilter::GetFormatFollowingSample(IMediaSample** sample)
{
    HRESULT hr = m_pOutput->GetDeliveryBuffer(sample, nullptr, nullptr, 0);
    if (FAILED(hr))
        return hr;
    AM_MEDIA_TYPE* changed = nullptr;
    if ((*sample)->GetMediaType(&changed) == S_OK && changed) {
        CMediaType type(*changed);
        DeleteMediaType(changed);
        hr = m_pOutput->SetMediaType(&type);
        if (FAILED(hr)) {
            (*sample)->Release();
            *sample = nullptr;
            return hr;
        }
    }
    return S_OK;
}

HRESULT CTransformFilter::InitializeOutputSample(IMediaSample* in, IMediaSample** out)
{
    HRESULT hr = m_pOutput->GetDeliveryBuffer(out, nullptr, nullptr, 0);
    if (FAILED(hr))
        return hr;
    REFERENCE_TIME start = 0, stop = 0;
    HRESULT times = in->GetTime(&start, &stop);
    if (times == S_OK)
        (*out)->SetTime(&start, &stop);
    else if (times == VFW_S_NO_STOP_TIME)
        (*out)->SetTime(&start, nullptr);
    (*out)->SetSyncPoint(in->IsSyncPoint() == S_OK);
    (*out)->SetDiscontinuity(in->IsDiscontinuity() == S_OK);
    (*out)->SetPreroll(in->IsPreroll() == S_OK);
    LONGLONG mediaStart = 0, mediaStop = 0;
    if (in->GetMediaTime(&mediaStart, &mediaStop) == S_OK)
        (*out)->SetMediaTime(&mediaStart, &mediaStop);
    return S_OK;
}

HRESULT CTransformFilter::Receive(IMediaSample* sample)
{
    IMediaSample* out = nullptr;
    HRESULT hr = InitializeOutputSample(sample, &out);
    if (FAILED(hr))
        return hr;
    hr = Transform(sample, out);
    if (hr == S_OK)
        hr = m_pOutput->Deliver(out);
    else if (hr == S_FALSE)
        hr = S_OK; // the subclass chose not to deliver this one
    out->Release();
    return hr;
}

HRESULT CTransformFilter::EndOfStream()
{
    if (!m_pOutput || !m_pOutput->IsConnected())
        return S_OK;
    m_bEOSDelivered = true;
    return m_pOutput->DeliverEndOfStream();
}

HRESULT CTransformFilter::BeginFlush()
{
    if (!m_pOutput || !m_pOutput->IsConnected())
        return S_OK;
    return m_pOutput->DeliverBeginFlush();
}

HRESULT CTransformFilter::EndFlush()
{
    m_bEOSDelivered = false;
    if (!m_pOutput || !m_pOutput->IsConnected())
        return S_OK;
    return m_pOutput->DeliverEndFlush();
}

HRESULT CTransformFilter::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    if (!m_pOutput || !m_pOutput->IsConnected())
        return S_OK;
    return m_pOutput->DeliverNewSegment(start, stop, rate);
}

} // namespace dshow
