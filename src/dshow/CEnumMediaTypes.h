// IEnumMediaTypes over a pin's preferred types (CBasePin::GetMediaType). Types it hands out are
// task-allocated for the caller to delete. It holds the pin (and so its filter).
#pragma once

#include "dshow/CComSingleInterface.h"

#include "dshow/DShow.h"

namespace dshow {

class CBasePin;

class CEnumMediaTypes : public dshow::CComSingleInterface<IEnumMediaTypes, &IID_IEnumMediaTypes> {
public:
    CEnumMediaTypes(CBasePin* pin, const CEnumMediaTypes* copyFrom);
    virtual ~CEnumMediaTypes();

    STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumMediaTypes** clone) override;

private:
    bool OutOfSync() const;

    CBasePin* m_pin;
    int m_position = 0;
    LONG m_version;
};

} // namespace dshow
