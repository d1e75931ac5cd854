// The renderer's input pin: a fresh allocator of its own for every request, and format changes
// accepted while connected (the upstream decoder's new picture size).
#pragma once

#include "dshow/CRendererInputPin.h"

namespace videorenderer {

class CHarvoVR;

class CHarvoVRPin : public dshow::CRendererInputPin {
public:
    CHarvoVRPin(CHarvoVR* renderer, HRESULT* result, const wchar_t* name);

    STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* mt) override;

    // Set by an accepted format change until the allocator attached the type to a buffer.
    bool TakeFormatChange(AM_MEDIA_TYPE** type);

private:
    CHarvoVR* m_harvo;
    volatile LONG m_formatChanged = 0;
};

} // namespace videorenderer
