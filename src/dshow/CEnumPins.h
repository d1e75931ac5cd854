// IEnumPins over a filter's pins by index. It holds the filter, and reports
// VFW_E_ENUM_OUT_OF_SYNC when the filter's pin set changed since it was made or reset.
#pragma once

#include "dshow/CComSingleInterface.h"

#include "dshow/CBaseFilter.h"

namespace dshow {

class CEnumPins : public dshow::CComSingleInterface<IEnumPins, &IID_IEnumPins> {
public:
    CEnumPins(CBaseFilter* filter, const CEnumPins* copyFrom);
    virtual ~CEnumPins();

    STDMETHODIMP Next(ULONG count, IPin** pins, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumPins** clone) override;

private:
    bool OutOfSync() const { return m_version != m_filter->GetPinVersion(); }

    CBaseFilter* m_filter;
    int m_position = 0;
    LONG m_version;
};

} // namespace dshow
