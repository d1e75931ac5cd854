#include "media/filters/audiodecoder/win/CAudioAllocator.h"

#include <mmreg.h>

#include <algorithm>
#include <cstring>

#include "dshow/CAutoLock.h"

namespace audiofilter {

using dshow::CAutoLock;

CAudioAllocator::CAudioAllocator(IUnknown* owner, HRESULT* result)
    : CMemAllocator(L"Audio decoder allocator", owner, result)
{
}

STDMETHODIMP CAudioAllocator::Commit()
{
    HRESULT hr = CMemAllocator::Commit();
    if (SUCCEEDED(hr))
        InterlockedExchange(&m_committed, 1);
    return hr;
}

STDMETHODIMP CAudioAllocator::Decommit()
{
    InterlockedExchange(&m_committed, 0);
    return CMemAllocator::Decommit();
}

void CAudioAllocator::SetPendingType(const dshow::CMediaType& mt)
{
    CAutoLock lock(&m_pendingLock);
    m_pendingType = mt;
    m_pending = true;
}

HRESULT CAudioAllocator::FitPendingType()
{
    // Only a wave format of at least the 18 bytes of WAVEFORMATEX is read, and at most the
    // extensible form's 40.
    if (*m_pendingType.FormatType() != FORMAT_WaveFormatEx || !m_pendingType.Format() ||
        m_pendingType.FormatLength() < sizeof(WAVEFORMATEX))
        return E_FAIL;
    WAVEFORMATEXTENSIBLE format;
    std::memset(&format, 0, sizeof(format));
    std::memcpy(&format, m_pendingType.Format(), std::min<size_t>(m_pendingType.FormatLength(), sizeof(format)));
    const LONG needed = static_cast<LONG>(format.Format.nAvgBytesPerSec / 4);
    if (needed <= 0)
        return E_FAIL;
    ALLOCATOR_PROPERTIES properties;
    if (FAILED(GetProperties(&properties)))
        return E_FAIL;
    if (properties.cbBuffer >= needed && m_committed)
        return S_OK;
    // Buffers only grow.
    properties.cbBuffer = std::max(properties.cbBuffer, needed);
    ALLOCATOR_PROPERTIES actual;
    if (FAILED(Decommit()) || FAILED(SetProperties(&properties, &actual)) || FAILED(Commit()) ||
        actual.cbBuffer < needed)
        return E_FAIL;
    return S_OK;
}

STDMETHODIMP CAudioAllocator::GetBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* end, DWORD flags)
{
    if (!sample)
        return E_POINTER;
    *sample = nullptr;
    if (!m_committed)
        return VFW_E_NOT_COMMITTED;
    CAutoLock lock(&m_pendingLock);
    if (m_pending && FAILED(FitPendingType()))
        return E_FAIL;
    HRESULT hr = CMemAllocator::GetBuffer(sample, start, end, flags);
    if (SUCCEEDED(hr) && m_pending) {
        (*sample)->SetMediaType(&m_pendingType);
        m_pending = false;
    }
    return hr;
}

} // namespace audiofilter
