#include "dshow/CMediaSample.h"

#include "dshow/CBaseAllocator.h"
#include "dshow/MediaTypes.h"

namespace dshow {

CMediaSample::CMediaSample(CBaseAllocator* allocator, BYTE* buffer, LONG size)
    : m_allocator(allocator), m_buffer(buffer), m_size(size)
{
}

CMediaSample::~CMediaSample() { DeleteMediaType(m_mediaType); }

STDMETHODIMP CMediaSample::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IMediaSample) {
        *ppv = static_cast<IMediaSample*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CMediaSample::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_refCount)); }

STDMETHODIMP_(ULONG) CMediaSample::Release()
{
    LONG count = InterlockedDecrement(&m_refCount);
    if (count == 0) {
        ResetProperties();
        m_allocator->ReleaseBuffer(this);
    }
    return static_cast<ULONG>(count);
}

void CMediaSample::ResetProperties()
{
    m_flags = 0;
    m_actual = 0;
    DeleteMediaType(m_mediaType);
    m_mediaType = nullptr;
}

STDMETHODIMP CMediaSample::GetPointer(BYTE** buffer)
{
    if (!buffer)
        return E_POINTER;
    *buffer = m_buffer;
    return S_OK;
}

STDMETHODIMP_(LONG) CMediaSample::GetSize() { return m_size; }

STDMETHODIMP CMediaSample::GetTime(REFERENCE_TIME* start, REFERENCE_TIME* end)
{
    if (!start || !end)
        return E_POINTER;
    if (!(m_flags & kTimeValid))
        return VFW_E_SAMPLE_TIME_NOT_SET;
    *start = m_start;
    if (m_flags & kStopValid) {
        *end = m_end;
        return S_OK;
    }
    *end = m_start + 1;
    return VFW_S_NO_STOP_TIME;
}

STDMETHODIMP CMediaSample::SetTime(REFERENCE_TIME* start, REFERENCE_TIME* end)
{
    m_flags &= ~(kTimeValid | kStopValid);
    if (start) {
        m_start = *start;
        m_flags |= kTimeValid;
        if (end) {
            m_end = *end;
            m_flags |= kStopValid;
        }
    }
    return S_OK;
}

STDMETHODIMP CMediaSample::IsSyncPoint() { return (m_flags & kSyncPoint) ? S_OK : S_FALSE; }

STDMETHODIMP CMediaSample::SetSyncPoint(BOOL syncPoint)
{
    m_flags = syncPoint ? (m_flags | kSyncPoint) : (m_flags & ~kSyncPoint);
    return S_OK;
}

STDMETHODIMP CMediaSample::IsPreroll() { return (m_flags & kPreroll) ? S_OK : S_FALSE; }

STDMETHODIMP CMediaSample::SetPreroll(BOOL preroll)
{
    m_flags = preroll ? (m_flags | kPreroll) : (m_flags & ~kPreroll);
    return S_OK;
}

STDMETHODIMP_(LONG) CMediaSample::GetActualDataLength() { return m_actual; }

STDMETHODIMP CMediaSample::SetActualDataLength(LONG length)
{
    if (length < 0 || length > m_size)
        return VFW_E_BUFFER_OVERFLOW;
    m_actual = length;
    return S_OK;
}

STDMETHODIMP CMediaSample::GetMediaType(AM_MEDIA_TYPE** type)
{
    if (!type)
        return E_POINTER;
    if (!(m_flags & kTypeChanged) || !m_mediaType) {
        *type = nullptr;
        return S_FALSE;
    }
    *type = CreateMediaType(m_mediaType);
    return *type ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CMediaSample::SetMediaType(AM_MEDIA_TYPE* type)
{
    DeleteMediaType(m_mediaType);
    m_mediaType = nullptr;
    if (!type) {
        m_flags &= ~kTypeChanged;
        return S_OK;
    }
    m_mediaType = CreateMediaType(type);
    if (!m_mediaType) {
        m_flags &= ~kTypeChanged;
        return E_OUTOFMEMORY;
    }
    m_flags |= kTypeChanged;
    return S_OK;
}

STDMETHODIMP CMediaSample::IsDiscontinuity() { return (m_flags & kDiscontinuity) ? S_OK : S_FALSE; }

STDMETHODIMP CMediaSample::SetDiscontinuity(BOOL discontinuity)
{
    m_flags = discontinuity ? (m_flags | kDiscontinuity) : (m_flags & ~kDiscontinuity);
    return S_OK;
}

STDMETHODIMP CMediaSample::GetMediaTime(LONGLONG* start, LONGLONG* end)
{
    if (!start || !end)
        return E_POINTER;
    if (!(m_flags & kMediaTimeValid))
        return VFW_E_MEDIA_TIME_NOT_SET;
    *start = m_mediaStart;
    *end = m_mediaEnd;
    return S_OK;
}

STDMETHODIMP CMediaSample::SetMediaTime(LONGLONG* start, LONGLONG* end)
{
    if (!start) {
        m_flags &= ~kMediaTimeValid;
        return S_OK;
    }
    if (!end)
        return E_POINTER;
    m_mediaStart = *start;
    m_mediaEnd = *end;
    m_flags |= kMediaTimeValid;
    return S_OK;
}

} // namespace dshow
