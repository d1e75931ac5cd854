// The BD Dumper's input pin: takes any media type and hands every buffer straight to the dump
// callback, whatever the filter's state.
#pragma once

#include "dshow/CBaseInputPin.h"
#include "dvb/libBDA/CBDADumperCallback.h"

namespace libBDA {

class CBDADumperPin : public dshow::CBaseInputPin {
public:
    CBDADumperPin(dshow::CBaseFilter* filter, dshow::CCritSec* lock, HRESULT* result);

    // Set by the graph builder before the pin is connected; not owned.
    void SetCallback(CBDADumperCallback* callback) { m_callback = callback; }

    HRESULT CheckMediaType(const dshow::CMediaType* mt) override;
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP ReceiveCanBlock() override;

private:
    CBDADumperCallback* m_callback = nullptr;
};

} // namespace libBDA
