// The output pin of CTransformFilter: it offers and accepts types only while the input is connected,
// since every output type follows from the input's.
#pragma once

#include "dshow/CBaseOutputPin.h"

namespace dshow {

class CTransformFilter;

class CTransformOutputPin : public CBaseOutputPin {
public:
    CTransformOutputPin(const wchar_t* objectName, CTransformFilter* filter, HRESULT* result, const wchar_t* name);

    HRESULT CheckMediaType(const CMediaType* mt) override;
    HRESULT SetMediaType(const CMediaType* mt) override;
    HRESULT GetMediaType(int position, CMediaType* mt) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT CheckConnect(IPin* pin) override;
    HRESULT BreakConnect() override;
    HRESULT CompleteConnect(IPin* receivePin) override;

private:
    CTransformFilter* m_transform;
};

} // namespace dshow
