// The audio decoder's output allocator. When the output format changes on the running connection
// the new type waits here and rides on the next sample handed out, whose buffer is first grown to
// a quarter second of the new format.
#pragma once

#include "dshow/CCritSec.h"
#include "dshow/CMediaType.h"
#include "dshow/CMemAllocator.h"

namespace audiofilter {

class CAudioAllocator : public dshow::CMemAllocator {
public:
    CAudioAllocator(IUnknown* owner, HRESULT* result);

    STDMETHODIMP Commit() override;
    STDMETHODIMP Decommit() override;
    STDMETHODIMP GetBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* end, DWORD flags) override;

    void SetPendingType(const dshow::CMediaType& mt);

private:
    // Grows the buffers for the pending type; E_FAIL when that type or the regrowth is not usable.
    HRESULT FitPendingType();

    dshow::CCritSec m_pendingLock;
    dshow::CMediaType m_pendingType;
    bool m_pending = false;
    volatile LONG m_committed = 0;
};

} // namespace audiofilter
