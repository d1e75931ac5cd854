#include "dshow/CTransformOutputPin.h"

#include "dshow/CTransformFilter.h"
#include "dshow/CTransformInputPin.h"

namespace dshow {

CTransformOutputPin::CTransformOutputPin(const wchar_t* objectName, CTransformFilter* filter, HRESULT* result,
                                         const wchar_t* name)
    : CBaseOutputPin(objectName, filter, filter->FilterLock(), result, name), m_transform(filter)
{
}

HRESULT CTransformOutputPin::CheckMediaType(const CMediaType* mt)
{
    CTransformInputPin* in = m_transform->InputPin();
    if (!in || !in->IsConnected())
        return E_UNEXPECTED;
    return m_transform->CheckTransform(&in->CurrentMediaType(), mt);
}

HRESULT CTransformOutputPin::SetMediaType(const CMediaType* mt)
{
    HRESULT hr = CBasePin::SetMediaType(mt);
    if (FAILED(hr))
        return hr;
    return m_transform->SetMediaType(PINDIR_OUTPUT, mt);
}

HRESULT CTransformOutputPin::GetMediaType(int position, CMediaType* mt)
{
    CTransformInputPin* in = m_transform->InputPin();
    if (!in || !in->IsConnected())
        return E_UNEXPECTED;
    return m_transform->GetMediaType(position, mt);
}

HRESULT CTransformOutputPin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    return m_transform->DecideBufferSize(allocator, request);
}

HRESULT CTransformOutputPin::CheckConnect(IPin* pin)
{
    // Output types follow from the input type: connect the input first.
    CTransformInputPin* in = m_transform->InputPin();
    if (!in || !in->IsConnected())
        return E_UNEXPECTED;
    HRESULT hr = m_transform->CheckConnect(PINDIR_OUTPUT, pin);
    if (FAILED(hr))
        return hr;
    return CBaseOutputPin::CheckConnect(pin);
}

HRESULT CTransformOutputPin::BreakConnect()
{
    m_transform->BreakConnect(PINDIR_OUTPUT);
    return CBaseOutputPin::BreakConnect();
}

HRESULT CTransformOutputPin::CompleteConnect(IPin* receivePin)
{
    HRESULT hr = m_transform->CompleteConnect(PINDIR_OUTPUT, receivePin);
    if (FAILED(hr))
        return hr;
    return CBaseOutputPin::CompleteConnect(receivePin);
}

} // namespace dshow
