// One buffer of an allocator. When its last reference goes the sample returns to the allocator's
// free list instead of being deleted; the allocator owns it.
#pragma once

#include "dshow/DShow.h"

namespace dshow {

class CBaseAllocator;

class CMediaSample : public IMediaSample {
public:
    CMediaSample(CBaseAllocator* allocator, BYTE* buffer, LONG size);
    virtual ~CMediaSample();
    CMediaSample(const CMediaSample&) = delete;
    CMediaSample& operator=(const CMediaSample&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP GetPointer(BYTE** buffer) override;
    STDMETHODIMP_(LONG) GetSize() override;
    STDMETHODIMP GetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) override;
    STDMETHODIMP SetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) override;
    STDMETHODIMP IsSyncPoint() override;
    STDMETHODIMP SetSyncPoint(BOOL syncPoint) override;
    STDMETHODIMP IsPreroll() override;
    STDMETHODIMP SetPreroll(BOOL preroll) override;
    STDMETHODIMP_(LONG) GetActualDataLength() override;
    STDMETHODIMP SetActualDataLength(LONG length) override;
    STDMETHODIMP GetMediaType(AM_MEDIA_TYPE** type) override;
    STDMETHODIMP SetMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP IsDiscontinuity() override;
    STDMETHODIMP SetDiscontinuity(BOOL discontinuity) override;
    STDMETHODIMP GetMediaTime(LONGLONG* start, LONGLONG* end) override;
    STDMETHODIMP SetMediaTime(LONGLONG* start, LONGLONG* end) override;

    // The allocator gives a sample a fresh state each time it hands it out.
    void ResetProperties();
    void SetBuffer(BYTE* buffer, LONG size)
    {
        m_buffer = buffer;
        m_size = size;
    }

private:
    enum : DWORD {
        kSyncPoint = 0x1,
        kPreroll = 0x2,
        kDiscontinuity = 0x4,
        kTypeChanged = 0x8,
        kTimeValid = 0x10,
        kStopValid = 0x20,
        kMediaTimeValid = 0x40,
    };

    CBaseAllocator* m_allocator;
    BYTE* m_buffer;
    LONG m_size;
    LONG m_actual = 0;
    DWORD m_flags = 0;
    REFERENCE_TIME m_start = 0;
    REFERENCE_TIME m_end = 0;
    LONGLONG m_mediaStart = 0;
    LONGLONG m_mediaEnd = 0;
    AM_MEDIA_TYPE* m_mediaType = nullptr;
    volatile LONG m_refCount = 0;
};

} // namespace dshow
