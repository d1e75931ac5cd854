// IEnumPins over a filter's pins by index. It holds the filter, and reports
// VFW_E_ENUM_OUT_OF_SYNC when the filter's pin set changed since it was made or reset.
#pragma once

#include "dshow/CEnumByPosition.h"

#include "dshow/CBaseFilter.h"

namespace dshow {

class CEnumPins : public CEnumByPosition<IEnumPins, &IID_IEnumPins, IPin*> {
public:
    CEnumPins(CBaseFilter* filter, const CEnumPins* copyFrom);
    ~CEnumPins() override;

    STDMETHODIMP Skip(ULONG count) override;

private:
    LONG CurrentVersion() const override { return m_filter->GetPinVersion(); }
    bool FetchNext(IPin** pin) override;
    IEnumPins* Copy() const override;

    CBaseFilter* m_filter;
};

} // namespace dshow
