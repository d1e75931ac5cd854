#include "dshow/CBaseFilter.h"

#include <cstring>

#include "dshow/CAutoLock.h"
#include "dshow/CBasePin.h"
#include "dshow/CEnumPins.h"

namespace dshow {

CBaseFilter::CBaseFilter(const wchar_t* name, IUnknown* owner, CCritSec* lock, REFCLSID clsid, HRESULT* result)
    : CUnknown(name, owner), m_lock(lock), m_clsid(clsid)
{
    if (result)
        *result = S_OK;
}

CBaseFilter::~CBaseFilter()
{
    if (m_clock)
        m_clock->Release();
}

STDMETHODIMP CBaseFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IBaseFilter)
        return GetInterface(static_cast<IBaseFilter*>(this), ppv);
    if (riid == IID_IMediaFilter)
        return GetInterface(static_cast<IMediaFilter*>(this), ppv);
    if (riid == IID_IPersist)
        return GetInterface(static_cast<IPersist*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CBaseFilter::GetClassID(CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = m_clsid;
    return S_OK;
}

STDMETHODIMP CBaseFilter::Stop()
{
    CAutoLock lock(m_lock);
    HRESULT result = S_OK;
    if (m_state != State_Stopped) {
        for (int i = 0, n = GetPinCount(); i < n; ++i) {
            CBasePin* pin = GetPin(i);
            if (pin && pin->IsConnected()) {
                HRESULT hr = pin->Inactive();
                if (FAILED(hr) && SUCCEEDED(result))
                    result = hr;
            }
        }
    }
    m_state = State_Stopped;
    return result;
}

STDMETHODIMP CBaseFilter::Pause()
{
    CAutoLock lock(m_lock);
    if (m_state == State_Stopped) {
        for (int i = 0, n = GetPinCount(); i < n; ++i) {
            CBasePin* pin = GetPin(i);
            if (pin && pin->IsConnected()) {
                HRESULT hr = pin->Active();
                if (FAILED(hr))
                    return hr;
            }
        }
    }
    m_state = State_Paused;
    return S_OK;
}

STDMETHODIMP CBaseFilter::Run(REFERENCE_TIME start)
{
    CAutoLock lock(m_lock);
    m_start = start;
    if (m_state == State_Stopped) {
        HRESULT hr = Pause();
        if (FAILED(hr))
            return hr;
    }
    if (m_state != State_Running) {
        for (int i = 0, n = GetPinCount(); i < n; ++i) {
            CBasePin* pin = GetPin(i);
            if (pin && pin->IsConnected()) {
                HRESULT hr = pin->Run(start);
                if (FAILED(hr))
                    return hr;
            }
        }
    }
    m_state = State_Running;
    return S_OK;
}

STDMETHODIMP CBaseFilter::GetState(DWORD, FILTER_STATE* state)
{
    if (!state)
        return E_POINTER;
    *state = m_state;
    return S_OK;
}

STDMETHODIMP CBaseFilter::SetSyncSource(IReferenceClock* clock)
{
    CAutoLock lock(m_lock);
    if (clock)
        clock->AddRef();
    if (m_clock)
        m_clock->Release();
    m_clock = clock;
    return S_OK;
}

STDMETHODIMP CBaseFilter::GetSyncSource(IReferenceClock** clock)
{
    if (!clock)
        return E_POINTER;
    CAutoLock lock(m_lock);
    *clock = m_clock;
    if (m_clock)
        m_clock->AddRef();
    return S_OK;
}

STDMETHODIMP CBaseFilter::EnumPins(IEnumPins** pins)
{
    if (!pins)
        return E_POINTER;
    auto* e = new (std::nothrow) CEnumPins(this, nullptr);
    if (!e) {
        *pins = nullptr;
        return E_OUTOFMEMORY;
    }
    return GetInterface(static_cast<IEnumPins*>(e), reinterpret_cast<void**>(pins));
}

STDMETHODIMP CBaseFilter::FindPin(LPCWSTR id, IPin** pin)
{
    if (!id || !pin)
        return E_POINTER;
    CAutoLock lock(m_lock);
    for (int i = 0, n = GetPinCount(); i < n; ++i) {
        CBasePin* candidate = GetPin(i);
        if (candidate && candidate->Name() == id)
            return GetInterface(static_cast<IPin*>(candidate), reinterpret_cast<void**>(pin));
    }
    *pin = nullptr;
    return VFW_E_NOT_FOUND;
}

STDMETHODIMP CBaseFilter::QueryFilterInfo(FILTER_INFO* info)
{
    if (!info)
        return E_POINTER;
    size_t n = m_name.size() < MAX_FILTER_NAME - 1 ? m_name.size() : MAX_FILTER_NAME - 1;
    std::memcpy(info->achName, m_name.c_str(), n * sizeof(wchar_t));
    info->achName[n] = 0;
    info->pGraph = m_graph;
    if (m_graph)
        m_graph->AddRef();
    return S_OK;
}

STDMETHODIMP CBaseFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name)
{
    CAutoLock lock(m_lock);
    m_graph = graph;
    if (m_sink) {
        // The sink is the graph itself: dropping our reference keeps the graph free of a cycle.
        m_sink = nullptr;
    }
    if (graph) {
        IMediaEventSink* sink = nullptr;
        if (SUCCEEDED(graph->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&sink))) && sink) {
            m_sink = sink;
            sink->Release();
        }
    }
    m_name = (graph && name) ? name : L"";
    return S_OK;
}

STDMETHODIMP CBaseFilter::QueryVendorInfo(LPWSTR*) { return E_NOTIMPL; }

HRESULT CBaseFilter::NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2)
{
    IMediaEventSink* sink = m_sink;
    if (!sink)
        return E_NOTIMPL;
    if (code == EC_COMPLETE || code == EC_ERRORABORT) {
        // The graph counts completions per filter, so it wants to know which one is done.
        if (param2 == 0)
            param2 = reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(this));
    }
    return sink->Notify(code, param1, param2);
}

} // namespace dshow
