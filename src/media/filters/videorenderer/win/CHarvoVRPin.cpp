#include "media/filters/videorenderer/win/CHarvoVRPin.h"

#include <new>

#include "dshow/CAutoLock.h"
#include "dshow/MediaTypes.h"
#include "dshow/VideoTypes.h"
#include "media/filters/videorenderer/win/CHarvoMemAllocator.h"
#include "media/filters/videorenderer/win/CHarvoVR.h"

namespace videorenderer {

CHarvoVRPin::CHarvoVRPin(CHarvoVR* renderer, HRESULT* result, const wchar_t* name)
    : CRendererInputPin(renderer, result, name), m_harvo(renderer)
{
}

STDMETHODIMP CHarvoVRPin::GetAllocator(IMemAllocator** allocator)
{
    if (!allocator)
        return E_POINTER;
    HRESULT hr = S_OK;
    auto* created = new (std::nothrow) CHarvoMemAllocator(this, &hr);
    if (!created || FAILED(hr)) {
        delete created;
        *allocator = nullptr;
        return E_FAIL;
    }
    return dshow::GetInterface(static_cast<IMemAllocator*>(created), reinterpret_cast<void**>(allocator));
}

STDMETHODIMP CHarvoVRPin::QueryAccept(const AM_MEDIA_TYPE* mt)
{
    if (!mt)
        return E_POINTER;
    if (!IsConnected())
        return CRendererInputPin::QueryAccept(mt);
    dshow::CMediaType copy(*mt);
    return m_harvo->CheckMediaType(&copy) == S_OK ? S_OK : S_FALSE;
}

STDMETHODIMP CHarvoVRPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt)
{
    if (!connector || !mt)
        return E_POINTER;
    dshow::CAutoLock lock(m_lock);
    if (!IsConnected())
        return CRendererInputPin::ReceiveConnection(connector, mt);
    // Connected: the upstream filter proposes a new format (a new picture size).
    dshow::CMediaType copy(*mt);
    HRESULT hr = m_harvo->CheckMediaType(&copy);
    if (hr != S_OK)
        return FAILED(hr) ? hr : VFW_E_TYPE_NOT_ACCEPTED;
    hr = m_harvo->SetMediaType(&copy);
    if (FAILED(hr))
        return hr;
    hr = CBasePin::SetMediaType(&copy);
    if (FAILED(hr))
        return hr;
    InterlockedExchange(&m_formatChanged, 1);
    if (m_allocator) {
        const BITMAPINFOHEADER* bmi = nullptr;
        if (copy.formattype == FORMAT_VideoInfo2 || copy.formattype == dshow::kFormatMpeg2Video)
            bmi = &reinterpret_cast<const VIDEOINFOHEADER2*>(copy.Format())->bmiHeader;
        else
            bmi = &reinterpret_cast<const VIDEOINFOHEADER*>(copy.Format())->bmiHeader;
        // CheckMediaType made sure the block is whole; the size is worked out in 64 bits.
        const int64_t rows = bmi->biHeight < 0 ? -int64_t(bmi->biHeight) : int64_t(bmi->biHeight);
        const int64_t bytes = rows * (bmi->biBitCount / 8) * int64_t(bmi->biWidth);
        if (bytes <= 0 || bytes > 0x7FFFFFFF)
            return E_FAIL;
        ALLOCATOR_PROPERTIES request = {3, LONG(bytes), 1, 0}, actual = {};
        if (FAILED(m_allocator->Decommit()) || FAILED(m_allocator->SetProperties(&request, &actual)) ||
            FAILED(m_allocator->Commit()))
            return E_FAIL;
    }
    return S_OK;
}

bool CHarvoVRPin::TakeFormatChange(AM_MEDIA_TYPE** type)
{
    if (InterlockedCompareExchange(&m_formatChanged, 0, 1) != 1)
        return false;
    dshow::CAutoLock lock(m_lock);
    *type = dshow::CreateMediaType(&m_mt);
    return *type != nullptr;
}

} // namespace videorenderer
