#include "dshow/CBaseAllocator.h"

#include "dshow/CAutoLock.h"

namespace dshow {

CBaseAllocator::CBaseAllocator(const wchar_t* name, IUnknown* owner, HRESULT* result) : CUnknown(name, owner)
{
    InitializeConditionVariable(&m_sampleReturned);
    if (result)
        *result = S_OK;
}

CBaseAllocator::~CBaseAllocator() = default;

STDMETHODIMP CBaseAllocator::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IMemAllocator)
        return GetInterface(static_cast<IMemAllocator*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CBaseAllocator::SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual)
{
    if (!request || !actual)
        return E_POINTER;
    CAutoLock lock(&m_lock);
    if (m_committed)
        return VFW_E_ALREADY_COMMITTED;
    if (m_allocated != static_cast<LONG>(m_free.size()))
        return VFW_E_BUFFERS_OUTSTANDING;
    if (request->cBuffers <= 0 || request->cbBuffer <= 0 || request->cbPrefix < 0)
        return E_INVALIDARG;
    LONG alignment = request->cbAlign ? request->cbAlign : 1;
    if (alignment < 0 || (alignment & (alignment - 1)) != 0)
        return VFW_E_BADALIGN;
    m_count = request->cBuffers;
    m_size = request->cbBuffer;
    m_alignment = alignment;
    m_prefix = request->cbPrefix;
    m_changed = true;
    *actual = *request;
    actual->cbAlign = alignment;
    return S_OK;
}

STDMETHODIMP CBaseAllocator::GetProperties(ALLOCATOR_PROPERTIES* actual)
{
    if (!actual)
        return E_POINTER;
    CAutoLock lock(&m_lock);
    actual->cBuffers = m_count;
    actual->cbBuffer = m_size;
    actual->cbAlign = m_alignment;
    actual->cbPrefix = m_prefix;
    return S_OK;
}

STDMETHODIMP CBaseAllocator::Commit()
{
    CAutoLock lock(&m_lock);
    if (m_committed)
        return S_OK;
    if (m_size <= 0 || m_count <= 0)
        return VFW_E_SIZENOTSET;
    m_decommitPending = false;
    // Buffers still home from an earlier commit are reused when the properties are the same.
    if (m_allocated == 0 || m_changed) {
        if (m_allocated != 0)
            Free();
        HRESULT hr = Alloc();
        if (FAILED(hr))
            return hr;
        m_changed = false;
    }
    m_committed = true;
    return S_OK;
}

STDMETHODIMP CBaseAllocator::Decommit()
{
    CAutoLock lock(&m_lock);
    if (!m_committed)
        return S_OK;
    m_committed = false;
    if (m_allocated == static_cast<LONG>(m_free.size()))
        Free();
    else
        m_decommitPending = true;
    // Wake every GetBuffer waiter: they now fail with VFW_E_NOT_COMMITTED.
    WakeAllConditionVariable(&m_sampleReturned);
    return S_OK;
}

STDMETHODIMP CBaseAllocator::GetBuffer(IMediaSample** sample, REFERENCE_TIME*, REFERENCE_TIME*, DWORD flags)
{
    if (!sample)
        return E_POINTER;
    *sample = nullptr;
    CAutoLock lock(&m_lock);
    for (;;) {
        if (!m_committed)
            return VFW_E_NOT_COMMITTED;
        if (!m_free.empty())
            break;
        if (flags & AM_GBF_NOWAIT)
            return VFW_E_TIMEOUT;
        SleepConditionVariableCS(&m_sampleReturned, m_lock.Native(), INFINITE);
    }
    CMediaSample* out = m_free.back();
    m_free.pop_back();
    out->AddRef();
    AddRef(); // released when the sample comes home
    *sample = out;
    return S_OK;
}

STDMETHODIMP CBaseAllocator::ReleaseBuffer(IMediaSample* sample)
{
    if (!sample)
        return E_POINTER;
    {
        CAutoLock lock(&m_lock);
        m_free.push_back(static_cast<CMediaSample*>(sample));
        WakeConditionVariable(&m_sampleReturned);
        if (m_decommitPending && m_allocated == static_cast<LONG>(m_free.size())) {
            m_decommitPending = false;
            Free();
        }
    }
    Release();
    return S_OK;
}

LONG CBaseAllocator::FreeCount()
{
    CAutoLock lock(&m_lock);
    return static_cast<LONG>(m_free.size());
}

} // namespace dshow
