// IEnumMediaTypes over a pin's preferred types (CBasePin::GetMediaType). Types it hands out are
// task-allocated for the caller to delete. It holds the pin (and so its filter).
#pragma once

#include "dshow/CEnumByPosition.h"

namespace dshow {

class CBasePin;

class CEnumMediaTypes : public CEnumByPosition<IEnumMediaTypes, &IID_IEnumMediaTypes, AM_MEDIA_TYPE*> {
public:
    CEnumMediaTypes(CBasePin* pin, const CEnumMediaTypes* copyFrom);
    ~CEnumMediaTypes() override;

    STDMETHODIMP Skip(ULONG count) override;

private:
    LONG CurrentVersion() const override;
    bool FetchNext(AM_MEDIA_TYPE** type) override;
    IEnumMediaTypes* Copy() const override;

    CBasePin* m_pin;
};

} // namespace dshow
