// IEnumMediaTypes over a pin's preferred types (CBasePin::GetMediaType). Types it hands out are
// task-allocated for the caller to delete. It holds the pin (and so its filter).
#pragma once

#include "dshow/DShow.h"

namespace dshow {

class CBasePin;

class CEnumMediaTypes : public IEnumMediaTypes {
public:
    CEnumMediaTypes(CBasePin* pin, const CEnumMediaTypes* copyFrom);
    virtual ~CEnumMediaTypes();

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumMediaTypes** clone) override;

private:
    bool OutOfSync() const;

    CBasePin* m_pin;
    int m_position = 0;
    LONG m_version;
    volatile LONG m_refCount = 0;
};

} // namespace dshow
