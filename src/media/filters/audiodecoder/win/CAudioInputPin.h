// The audio decoder's input: its type may change on the running connection (the demultiplexer
// switches between MPEG audio and AC-3 without reconnecting), which replaces the frame decoder.
#pragma once

#include "dshow/CTransformInputPin.h"

namespace audiofilter {

class CHarvoAudioDecoder;

class CAudioInputPin : public dshow::CTransformInputPin {
public:
    CAudioInputPin(CHarvoAudioDecoder* filter, HRESULT* result);

    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override;
    HRESULT CheckMediaType(const dshow::CMediaType* mt) override;
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;

private:
    CHarvoAudioDecoder* m_decoder;
};

} // namespace audiofilter
