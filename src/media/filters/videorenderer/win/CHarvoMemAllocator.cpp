#include "media/filters/videorenderer/win/CHarvoMemAllocator.h"

#include "dshow/MediaTypes.h"
#include "media/filters/videorenderer/win/CHarvoVRPin.h"

namespace videorenderer {

CHarvoMemAllocator::CHarvoMemAllocator(CHarvoVRPin* pin, HRESULT* result)
    : CMemAllocator(L"CHarvoMemAllocator", nullptr, result), m_pin(pin)
{
}

STDMETHODIMP CHarvoMemAllocator::GetBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* end,
                                           DWORD flags)
{
    HRESULT hr = CMemAllocator::GetBuffer(sample, start, end, flags);
    if (FAILED(hr))
        return hr;
    AM_MEDIA_TYPE* type = nullptr;
    if (m_pin->TakeFormatChange(&type)) {
        (*sample)->SetMediaType(type);
        dshow::DeleteMediaType(type);
    }
    return hr;
}

} // namespace videorenderer
