#include "dshow/CBasePin.h"

#include <cstring>

#include "dshow/CAutoLock.h"
#include "dshow/CEnumMediaTypes.h"
#include "dshow/MediaTypes.h"

namespace dshow {

CBasePin::CBasePin(const wchar_t* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT*, const wchar_t* name,
                   PIN_DIRECTION direction)
    : CUnknown(objectName, nullptr), m_filter(filter), m_lock(lock), m_name(name ? name : L""), m_direction(direction)
{
}

CBasePin::~CBasePin()
{
    if (m_connected)
        m_connected->Release();
}

STDMETHODIMP CBasePin::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IPin)
        return GetInterface(static_cast<IPin*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

// The filter owns its pins; a reference to a pin is a reference to the filter.
STDMETHODIMP_(ULONG) CBasePin::NonDelegatingAddRef() { return m_filter->AddRef(); }
STDMETHODIMP_(ULONG) CBasePin::NonDelegatingRelease() { return m_filter->Release(); }

STDMETHODIMP CBasePin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt)
{
    if (!receivePin)
        return E_POINTER;
    CAutoLock lock(m_lock);
    if (m_connected)
        return VFW_E_ALREADY_CONNECTED;
    if (!IsStopped())
        return VFW_E_NOT_STOPPED;
    PIN_DIRECTION other;
    if (SUCCEEDED(receivePin->QueryDirection(&other)) && other == m_direction)
        return VFW_E_INVALID_DIRECTION;
    if (mt) {
        CMediaType wanted(*mt);
        return AgreeMediaType(receivePin, &wanted);
    }
    return AgreeMediaType(receivePin, nullptr);
}

HRESULT CBasePin::AgreeMediaType(IPin* receivePin, const CMediaType* mt)
{
    if (mt && !mt->IsPartiallySpecified())
        return AttemptConnection(receivePin, mt);

    // Our own types first, then the receiver's.
    HRESULT last = VFW_E_NO_ACCEPTABLE_TYPES;
    for (int pass = 0; pass < 2; ++pass) {
        IEnumMediaTypes* types = nullptr;
        HRESULT hr = pass == 0 ? EnumMediaTypes(&types) : receivePin->EnumMediaTypes(&types);
        if (SUCCEEDED(hr) && types) {
            hr = TryMediaTypes(receivePin, mt, types);
            types->Release();
            if (SUCCEEDED(hr))
                return S_OK;
            if (hr != VFW_E_NO_ACCEPTABLE_TYPES)
                last = hr;
        }
    }
    return last;
}

HRESULT CBasePin::TryMediaTypes(IPin* receivePin, const CMediaType* partial, IEnumMediaTypes* types)
{
    HRESULT last = VFW_E_NO_ACCEPTABLE_TYPES;
    types->Reset();
    for (;;) {
        AM_MEDIA_TYPE* next = nullptr;
        ULONG fetched = 0;
        if (types->Next(1, &next, &fetched) != S_OK || fetched != 1 || !next)
            break;
        CMediaType candidate(*next);
        DeleteMediaType(next);
        if (partial && !candidate.MatchesPartial(partial))
            continue;
        HRESULT hr = AttemptConnection(receivePin, &candidate);
        if (SUCCEEDED(hr))
            return hr;
        last = hr;
    }
    return last;
}

HRESULT CBasePin::AttemptConnection(IPin* receivePin, const CMediaType* mt)
{
    HRESULT hr = CheckConnect(receivePin);
    if (FAILED(hr)) {
        BreakConnect();
        return hr;
    }
    hr = CheckMediaType(mt);
    if (hr != S_OK) {
        BreakConnect();
        return SUCCEEDED(hr) ? VFW_E_TYPE_NOT_ACCEPTED : hr;
    }
    m_connected = receivePin;
    m_connected->AddRef();
    hr = SetMediaType(mt);
    if (SUCCEEDED(hr)) {
        hr = receivePin->ReceiveConnection(static_cast<IPin*>(this), mt);
        if (SUCCEEDED(hr)) {
            hr = CompleteConnect(receivePin);
            if (SUCCEEDED(hr))
                return S_OK;
            // The receiver accepted; undo its half as well.
            receivePin->Disconnect();
        }
    }
    BreakConnect();
    m_connected->Release();
    m_connected = nullptr;
    m_mt.InitMediaType();
    return hr;
}

STDMETHODIMP CBasePin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt)
{
    if (!connector || !mt)
        return E_POINTER;
    CAutoLock lock(m_lock);
    if (m_connected)
        return VFW_E_ALREADY_CONNECTED;
    if (!IsStopped())
        return VFW_E_NOT_STOPPED;
    HRESULT hr = CheckConnect(connector);
    if (FAILED(hr)) {
        BreakConnect();
        return hr;
    }
    CMediaType offered(*mt);
    hr = CheckMediaType(&offered);
    if (hr != S_OK) {
        BreakConnect();
        return SUCCEEDED(hr) ? VFW_E_TYPE_NOT_ACCEPTED : hr;
    }
    m_connected = connector;
    m_connected->AddRef();
    hr = SetMediaType(&offered);
    if (SUCCEEDED(hr)) {
        hr = CompleteConnect(connector);
        if (SUCCEEDED(hr))
            return S_OK;
    }
    BreakConnect();
    m_connected->Release();
    m_connected = nullptr;
    m_mt.InitMediaType();
    return hr;
}

STDMETHODIMP CBasePin::Disconnect()
{
    CAutoLock lock(m_lock);
    if (!IsStopped())
        return VFW_E_NOT_STOPPED;
    return DisconnectInternal();
}

HRESULT CBasePin::DisconnectInternal()
{
    if (!m_connected)
        return S_FALSE;
    HRESULT hr = BreakConnect();
    if (FAILED(hr))
        return hr;
    m_connected->Release();
    m_connected = nullptr;
    FreeMediaType(m_mt);
    m_mt.InitMediaType();
    return S_OK;
}

STDMETHODIMP CBasePin::ConnectedTo(IPin** pin)
{
    if (!pin)
        return E_POINTER;
    CAutoLock lock(m_lock);
    *pin = m_connected;
    if (!m_connected)
        return VFW_E_NOT_CONNECTED;
    m_connected->AddRef();
    return S_OK;
}

STDMETHODIMP CBasePin::ConnectionMediaType(AM_MEDIA_TYPE* mt)
{
    if (!mt)
        return E_POINTER;
    CAutoLock lock(m_lock);
    if (!m_connected) {
        std::memset(mt, 0, sizeof(*mt));
        return VFW_E_NOT_CONNECTED;
    }
    return CopyMediaType(mt, &m_mt);
}

STDMETHODIMP CBasePin::QueryPinInfo(PIN_INFO* info)
{
    if (!info)
        return E_POINTER;
    info->pFilter = static_cast<IBaseFilter*>(m_filter);
    m_filter->AddRef();
    size_t n = m_name.size() < MAX_PIN_NAME - 1 ? m_name.size() : MAX_PIN_NAME - 1;
    std::memcpy(info->achName, m_name.c_str(), n * sizeof(wchar_t));
    info->achName[n] = 0;
    info->dir = m_direction;
    return S_OK;
}

STDMETHODIMP CBasePin::QueryDirection(PIN_DIRECTION* direction)
{
    if (!direction)
        return E_POINTER;
    *direction = m_direction;
    return S_OK;
}

STDMETHODIMP CBasePin::QueryId(LPWSTR* id)
{
    if (!id)
        return E_POINTER;
    size_t bytes = (m_name.size() + 1) * sizeof(wchar_t);
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*id)
        return E_OUTOFMEMORY;
    std::memcpy(*id, m_name.c_str(), bytes);
    return S_OK;
}

STDMETHODIMP CBasePin::QueryAccept(const AM_MEDIA_TYPE* mt)
{
    if (!mt)
        return E_POINTER;
    CMediaType offered(*mt);
    return CheckMediaType(&offered) == S_OK ? S_OK : S_FALSE;
}

STDMETHODIMP CBasePin::EnumMediaTypes(IEnumMediaTypes** types)
{
    if (!types)
        return E_POINTER;
    auto* e = new (std::nothrow) CEnumMediaTypes(this, nullptr);
    if (!e) {
        *types = nullptr;
        return E_OUTOFMEMORY;
    }
    return GetInterface(static_cast<IEnumMediaTypes*>(e), reinterpret_cast<void**>(types));
}

STDMETHODIMP CBasePin::QueryInternalConnections(IPin**, ULONG*) { return E_NOTIMPL; }

STDMETHODIMP CBasePin::EndOfStream() { return S_OK; }

STDMETHODIMP CBasePin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    m_segmentStart = start;
    m_segmentStop = stop;
    m_rate = rate;
    return S_OK;
}

HRESULT CBasePin::SetMediaType(const CMediaType* mt)
{
    return m_mt.Set(*mt);
}

HRESULT CBasePin::CheckConnect(IPin* pin)
{
    PIN_DIRECTION other;
    HRESULT hr = pin->QueryDirection(&other);
    if (FAILED(hr))
        return hr;
    return other == m_direction ? VFW_E_INVALID_DIRECTION : S_OK;
}

HRESULT CBasePin::BreakConnect() { return S_OK; }

HRESULT CBasePin::CompleteConnect(IPin*) { return S_OK; }

HRESULT CBasePin::GetMediaType(int, CMediaType*) { return VFW_S_NO_MORE_ITEMS; }

} // namespace dshow
