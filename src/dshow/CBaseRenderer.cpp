#include "dshow/CBaseRenderer.h"

#include <cwchar>
#include <new>

#include "dshow/CAutoLock.h"
#include "dshow/CRendererInputPin.h"

namespace dshow {

CBaseRenderer::CBaseRenderer(REFCLSID clsid, const wchar_t* name, IUnknown* owner, HRESULT* result)
    : CBaseFilter(name, owner, &m_InterfaceLock, clsid, result)
{
    m_evReady.Set();
}

CBaseRenderer::~CBaseRenderer()
{
    delete m_position;
    delete m_pInputPin;
}

STDMETHODIMP CBaseRenderer::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IAMFilterMiscFlags)
        return GetInterface(static_cast<IAMFilterMiscFlags*>(this), ppv);
    if (riid == IID_IMediaSeeking) {
        CAutoLock lock(&m_InterfaceLock);
        if (!m_position && InputPin())
            m_position = new (std::nothrow) CRendererPosPassThru(GetOwner(), m_pInputPin);
        if (!m_position)
            return E_OUTOFMEMORY;
        return GetInterface(static_cast<IMediaSeeking*>(m_position), ppv);
    }
    return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

CRendererInputPin* CBaseRenderer::InputPin()
{
    if (!m_pInputPin) {
        HRESULT hr = S_OK;
        m_pInputPin = new (std::nothrow) CRendererInputPin(this, &hr, L"In");
    }
    return m_pInputPin;
}

CBasePin* CBaseRenderer::GetPin(int index) { return index == 0 ? InputPin() : nullptr; }

STDMETHODIMP CBaseRenderer::FindPin(LPCWSTR id, IPin** pin)
{
    if (id && pin && wcscmp(id, L"In") == 0 && InputPin())
        return GetInterface(static_cast<IPin*>(m_pInputPin), reinterpret_cast<void**>(pin));
    return CBaseFilter::FindPin(id, pin);
}

STDMETHODIMP CBaseRenderer::Stop()
{
    CAutoLock lock(&m_InterfaceLock);
    if (m_state == State_Stopped)
        return S_OK;
    m_evAbort.Set();
    m_evStateChanged.Set();
    HRESULT hr = CBaseFilter::Stop();
    OnStopStreaming();
    {
        CAutoLock renderer(&m_RendererLock);
        m_eos = false;
        m_eosDelivered = false;
    }
    m_evReady.Set();
    return hr;
}

STDMETHODIMP CBaseRenderer::Pause()
{
    CAutoLock lock(&m_InterfaceLock);
    if (m_state == State_Paused)
        return S_OK;
    bool connected = InputPin() && m_pInputPin->IsConnected();
    if (m_state == State_Stopped) {
        m_evAbort.Reset();
        {
            CAutoLock renderer(&m_RendererLock);
            m_eos = false;
            m_eosDelivered = false;
            InterlockedExchange(&m_completions, 0);
        }
        HRESULT hr = OnStartStreaming();
        if (FAILED(hr))
            return hr;
    }
    {
        // A pause is complete once a sample waits to be shown (or nothing can come).
        CAutoLock renderer(&m_RendererLock);
        if (!connected || m_holdingSample || m_eos)
            m_evReady.Set();
        else
            m_evReady.Reset();
    }
    HRESULT hr = CBaseFilter::Pause();
    m_evStateChanged.Set();
    return hr;
}

STDMETHODIMP CBaseRenderer::Run(REFERENCE_TIME start)
{
    CAutoLock lock(&m_InterfaceLock);
    HRESULT hr = CBaseFilter::Run(start);
    if (FAILED(hr))
        return hr;
    m_evStateChanged.Set();
    CAutoLock renderer(&m_RendererLock);
    if (m_eos && !m_holdingSample)
        SendEndOfStream();
    return hr;
}

STDMETHODIMP CBaseRenderer::GetState(DWORD milliseconds, FILTER_STATE* state)
{
    if (!state)
        return E_POINTER;
    FILTER_STATE now;
    {
        CAutoLock lock(&m_InterfaceLock);
        now = m_state;
    }
    *state = now;
    if (now == State_Paused && !m_evReady.Wait(milliseconds))
        return VFW_S_STATE_INTERMEDIATE;
    return S_OK;
}

HRESULT CBaseRenderer::WaitForRenderTime(IMediaSample* sample)
{
    for (;;) {
        IReferenceClock* clock = nullptr;
        REFERENCE_TIME base = 0, start = 0, stop = 0;
        bool running;
        {
            CAutoLock lock(&m_InterfaceLock);
            if (m_state == State_Stopped || m_evAbort.Check())
                return S_FALSE;
            running = m_state == State_Running;
            if (running) {
                if (!m_clock || FAILED(sample->GetTime(&start, &stop)))
                    return S_OK;
                clock = m_clock;
                clock->AddRef();
                base = m_start;
            }
        }
        if (!running) {
            HANDLE handles[2] = {m_evAbort.Handle(), m_evStateChanged.Handle()};
            WaitForMultipleObjects(2, handles, FALSE, INFINITE);
            continue;
        }
        REFERENCE_TIME now = 0;
        if (SUCCEEDED(clock->GetTime(&now)) && now >= base + start) {
            clock->Release();
            return S_OK;
        }
        DWORD_PTR cookie = 0;
        m_evRenderTime.Reset();
        HRESULT hr = clock->AdviseTime(base, start, reinterpret_cast<HEVENT>(m_evRenderTime.Handle()), &cookie);
        if (FAILED(hr)) {
            clock->Release();
            return S_OK;
        }
        HANDLE handles[3] = {m_evAbort.Handle(), m_evStateChanged.Handle(), m_evRenderTime.Handle()};
        DWORD which = WaitForMultipleObjects(3, handles, FALSE, INFINITE);
        if (which == WAIT_OBJECT_0 + 2) {
            clock->Release();
            return S_OK;
        }
        clock->Unadvise(cookie);
        clock->Release();
    }
}

HRESULT CBaseRenderer::Receive(IMediaSample* sample)
{
    {
        CAutoLock lock(&m_InterfaceLock);
        CAutoLock renderer(&m_RendererLock);
        if (m_eos)
            return VFW_E_SAMPLE_REJECTED_EOS;
        m_holdingSample = true;
        if (m_state == State_Paused)
            OnReceiveFirstSample(sample);
        m_evReady.Set();
    }
    HRESULT hr = WaitForRenderTime(sample);
    if (hr == S_OK) {
        CAutoLock lock(&m_InterfaceLock);
        if (m_state != State_Stopped && !m_evAbort.Check())
            hr = DoRenderSample(sample);
    }
    CAutoLock renderer(&m_RendererLock);
    m_holdingSample = false;
    return FAILED(hr) ? hr : S_OK;
}

void CBaseRenderer::SendEndOfStream()
{
    if (m_eosDelivered)
        return;
    m_eosDelivered = true;
    InterlockedIncrement(&m_completions);
    NotifyEvent(EC_COMPLETE, S_OK, 0);
}

HRESULT CBaseRenderer::EndOfStream()
{
    CAutoLock lock(&m_InterfaceLock);
    if (m_state == State_Stopped)
        return S_OK;
    CAutoLock renderer(&m_RendererLock);
    if (m_eos)
        return S_OK;
    m_eos = true;
    m_evReady.Set();
    if (m_state == State_Running)
        SendEndOfStream();
    return S_OK;
}

HRESULT CBaseRenderer::BeginFlush()
{
    m_evAbort.Set();
    return S_OK;
}

HRESULT CBaseRenderer::EndFlush()
{
    CAutoLock renderer(&m_RendererLock);
    m_eos = false;
    m_eosDelivered = false;
    if (m_state != State_Stopped)
        m_evAbort.Reset();
    return S_OK;
}

} // namespace dshow
