// The sample-pool part of IMemAllocator: properties, commit and decommit, handing out free samples
// and taking them back. Subclasses own the memory (Alloc and Free). Each sample that is out holds
// a reference on the allocator, so the pool outlives the last buffer in flight.
#pragma once

#include <vector>

#include "dshow/CCritSec.h"
#include "dshow/CMediaSample.h"
#include "dshow/CUnknown.h"

namespace dshow {

class CBaseAllocator : public CUnknown, public IMemAllocator {
public:
    CBaseAllocator(const wchar_t* name, IUnknown* owner, HRESULT* result);
    ~CBaseAllocator() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    STDMETHODIMP SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual) override;
    STDMETHODIMP GetProperties(ALLOCATOR_PROPERTIES* actual) override;
    STDMETHODIMP Commit() override;
    STDMETHODIMP Decommit() override;
    STDMETHODIMP GetBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* end, DWORD flags) override;
    STDMETHODIMP ReleaseBuffer(IMediaSample* sample) override;

    LONG FreeCount();

protected:
    // Makes m_count buffers of m_size bytes after m_prefix and pushes them on the free list.
    virtual HRESULT Alloc() = 0;
    // Deletes every sample and its memory; called when decommitted and all samples are home.
    virtual void Free() = 0;

    CCritSec m_lock;
    std::vector<CMediaSample*> m_free;
    LONG m_allocated = 0; // samples that exist while committed
    LONG m_count = 0;
    LONG m_size = 0;
    LONG m_alignment = 0;
    LONG m_prefix = 0;
    bool m_changed = false; // properties changed since the last Alloc

private:
    CONDITION_VARIABLE m_sampleReturned;
    bool m_committed = false;
    bool m_decommitPending = false;
};

} // namespace dshow
