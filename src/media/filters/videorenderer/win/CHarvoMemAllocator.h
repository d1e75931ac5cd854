// The renderer pin's allocator: plain memory buffers like CMemAllocator, and after a format change
// the first buffer handed out carries the new type, so the upstream filter learns the format
// the renderer accepted.
#pragma once

#include "dshow/CMemAllocator.h"

namespace videorenderer {

class CHarvoVRPin;

class CHarvoMemAllocator : public dshow::CMemAllocator {
public:
    CHarvoMemAllocator(CHarvoVRPin* pin, HRESULT* result);

    STDMETHODIMP GetBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* end, DWORD flags) override;

private:
    CHarvoVRPin* m_pin; // the pin outlives its allocators' use: it decommits them when disconnected
};

} // namespace videorenderer
