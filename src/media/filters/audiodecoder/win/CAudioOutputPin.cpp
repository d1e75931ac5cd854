#include "media/filters/audiodecoder/win/CAudioOutputPin.h"

#include <new>

#include "media/filters/audiodecoder/win/CAudioAllocator.h"
#include "media/filters/audiodecoder/win/CHarvoAudioDecoder.h"

namespace audiofilter {

CAudioOutputPin::CAudioOutputPin(CHarvoAudioDecoder* filter, HRESULT* result)
    : CTransformOutputPin(L"Audio decoder output", filter, result, L"Output"), m_decoder(filter)
{
}

CAudioOutputPin::~CAudioOutputPin()
{
    if (m_ownAllocator)
        m_ownAllocator->Release();
}

bool CAudioOutputPin::MakeAllocator()
{
    if (m_ownAllocator)
        return true;
    HRESULT hr = S_OK;
    m_ownAllocator = new (std::nothrow) CAudioAllocator(nullptr, &hr);
    if (!m_ownAllocator)
        return false;
    m_ownAllocator->AddRef();
    return true;
}

HRESULT CAudioOutputPin::DecideAllocator(IMemInputPin* input, IMemAllocator** allocator)
{
    *allocator = nullptr;
    ALLOCATOR_PROPERTIES wanted = {};
    input->GetAllocatorRequirements(&wanted); // asked, but the filter decides the size
    if (!MakeAllocator())
        return E_OUTOFMEMORY;
    *allocator = m_ownAllocator;
    (*allocator)->AddRef();
    ALLOCATOR_PROPERTIES request = {};
    HRESULT hr = m_decoder->DecideBufferSize(*allocator, &request);
    if (SUCCEEDED(hr))
        hr = input->NotifyAllocator(*allocator, FALSE);
    if (FAILED(hr)) {
        (*allocator)->Release();
        *allocator = nullptr;
    }
    return hr;
}

HRESULT CAudioOutputPin::SetPendingType(const dshow::CMediaType& mt)
{
    if (!MakeAllocator())
        return E_OUTOFMEMORY;
    m_ownAllocator->SetPendingType(mt);
    return S_OK;
}

} // namespace audiofilter
