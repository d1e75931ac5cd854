// The audio decoder's output: it always delivers through its own allocator, which carries a
// changed output type to downstream on the next sample.
#pragma once

#include "dshow/CTransformOutputPin.h"

namespace audiofilter {

class CAudioAllocator;
class CHarvoAudioDecoder;

class CAudioOutputPin : public dshow::CTransformOutputPin {
public:
    CAudioOutputPin(CHarvoAudioDecoder* filter, HRESULT* result);
    ~CAudioOutputPin() override;

    HRESULT DecideAllocator(IMemInputPin* input, IMemAllocator** allocator) override;
    HRESULT SetPendingType(const dshow::CMediaType& mt);

private:
    bool MakeAllocator();

    CHarvoAudioDecoder* m_decoder;
    CAudioAllocator* m_ownAllocator = nullptr; // one reference
};

} // namespace audiofilter
