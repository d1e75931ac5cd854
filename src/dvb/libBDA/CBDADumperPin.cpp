#include "dvb/libBDA/CBDADumperPin.h"

namespace libBDA {

CBDADumperPin::CBDADumperPin(dshow::CBaseFilter* filter, dshow::CCritSec* lock, HRESULT* result)
    : CBaseInputPin(L"BDADumperPin", filter, lock, result, L"Input")
{
}

HRESULT CBDADumperPin::CheckMediaType(const dshow::CMediaType*) { return S_OK; }

STDMETHODIMP CBDADumperPin::Receive(IMediaSample* sample)
{
    // No state or flushing check: a tuner keeps pushing while the graph changes state, and the
    // engine behind the callback decides what to keep.
    if (!sample)
        return E_POINTER;
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)))
        return S_OK;
    LONG length = sample->GetActualDataLength();
    CBDADumperCallback* callback = m_callback;
    if (callback)
        callback->OnDumpData(data, static_cast<int32_t>(length));
    return S_OK;
}

STDMETHODIMP CBDADumperPin::ReceiveCanBlock() { return S_FALSE; }

} // namespace libBDA
