#include "dshow/CBaseInputPin.h"

#include "dshow/CAutoLock.h"
#include "dshow/CMemAllocator.h"

namespace dshow {

CBaseInputPin::CBaseInputPin(const wchar_t* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* result,
                             const wchar_t* name)
    : CBasePin(objectName, filter, lock, result, name, PINDIR_INPUT)
{
}

CBaseInputPin::~CBaseInputPin()
{
    if (m_allocator)
        m_allocator->Release();
}

STDMETHODIMP CBaseInputPin::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IMemInputPin)
        return GetInterface(static_cast<IMemInputPin*>(this), ppv);
    return CBasePin::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CBaseInputPin::GetAllocator(IMemAllocator** allocator)
{
    if (!allocator)
        return E_POINTER;
    CAutoLock lock(m_lock);
    if (!m_allocator) {
        m_allocator = CMemAllocator::CreateInstance();
        if (!m_allocator) {
            *allocator = nullptr;
            return E_OUTOFMEMORY;
        }
    }
    *allocator = m_allocator;
    m_allocator->AddRef();
    return S_OK;
}

STDMETHODIMP CBaseInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL readOnly)
{
    if (!allocator)
        return E_POINTER;
    CAutoLock lock(m_lock);
    allocator->AddRef();
    if (m_allocator)
        m_allocator->Release();
    m_allocator = allocator;
    m_readOnly = readOnly != FALSE;
    return S_OK;
}

STDMETHODIMP CBaseInputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) { return E_NOTIMPL; }

HRESULT CBaseInputPin::CheckStreaming()
{
    if (IsStopped())
        return VFW_E_WRONG_STATE;
    if (m_flushing)
        return S_FALSE;
    if (m_runTimeError)
        return VFW_E_RUNTIME_ERROR;
    return S_OK;
}

STDMETHODIMP CBaseInputPin::Receive(IMediaSample* sample)
{
    if (!sample)
        return E_POINTER;
    return CheckStreaming();
}

STDMETHODIMP CBaseInputPin::ReceiveMultiple(IMediaSample** samples, long count, long* processed)
{
    if (!samples || !processed)
        return E_POINTER;
    HRESULT hr = S_OK;
    *processed = 0;
    while (count-- > 0) {
        hr = Receive(samples[*processed]);
        if (hr != S_OK)
            break;
        ++*processed;
    }
    return hr;
}

STDMETHODIMP CBaseInputPin::ReceiveCanBlock() { return S_OK; }

STDMETHODIMP CBaseInputPin::BeginFlush()
{
    CAutoLock lock(m_lock);
    m_flushing = true;
    return S_OK;
}

STDMETHODIMP CBaseInputPin::EndFlush()
{
    CAutoLock lock(m_lock);
    m_flushing = false;
    m_runTimeError = false;
    return S_OK;
}

HRESULT CBaseInputPin::BreakConnect()
{
    if (m_allocator) {
        m_allocator->Decommit();
        m_allocator->Release();
        m_allocator = nullptr;
    }
    return S_OK;
}

HRESULT CBaseInputPin::Inactive()
{
    m_runTimeError = false;
    m_flushing = false;
    if (m_allocator)
        return m_allocator->Decommit();
    return S_OK;
}

} // namespace dshow
