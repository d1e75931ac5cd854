#include "media/filters/audiodecoder/win/CAudioInputPin.h"

#include "dshow/CAutoLock.h"
#include "media/filters/audiodecoder/win/CHarvoAudioDecoder.h"

namespace audiofilter {

CAudioInputPin::CAudioInputPin(CHarvoAudioDecoder* filter, HRESULT* result)
    : CTransformInputPin(L"Audio decoder input", filter, result, L"Input"), m_decoder(filter)
{
}

STDMETHODIMP CAudioInputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props)
{
    if (!props)
        return E_POINTER;
    props->cBuffers = 1;
    props->cbBuffer = CHarvoAudioDecoder::kBufferSize;
    props->cbAlign = 1;
    props->cbPrefix = 0;
    return S_OK;
}

HRESULT CAudioInputPin::CheckMediaType(const dshow::CMediaType* mt)
{
    // The output connection is not consulted: the input type may change while it stays.
    return m_decoder->CheckInputType(mt);
}

STDMETHODIMP CAudioInputPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt)
{
    if (!IsConnected())
        return CTransformInputPin::ReceiveConnection(connector, mt);
    if (!connector || !mt)
        return E_POINTER;
    dshow::CAutoLock lock(m_lock);
    dshow::CMediaType offered(*mt);
    HRESULT hr = CheckMediaType(&offered);
    if (FAILED(hr))
        return hr;
    return SetMediaType(&offered);
}

} // namespace audiofilter
