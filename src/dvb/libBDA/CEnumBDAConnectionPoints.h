// IEnumConnectionPoints over the BD Dumper's connection points.
#pragma once

#include "dshow/CComSingleInterface.h"

#include <ocidl.h>
#include <vector>

namespace libBDA {

class CEnumBDAConnectionPoints : public dshow::CComSingleInterface<IEnumConnectionPoints, &IID_IEnumConnectionPoints> {
public:
    // Holds the owner (which keeps the points alive) for its lifetime.
    CEnumBDAConnectionPoints(IUnknown* owner, const std::vector<IConnectionPoint*>& points, size_t position);
    virtual ~CEnumBDAConnectionPoints();

    STDMETHODIMP Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumConnectionPoints** clone) override;

    static const wchar_t* Name() { return L"EnumConnectionPoints"; }

private:
    IUnknown* m_owner;
    std::vector<IConnectionPoint*> m_points;
    size_t m_position;
};

} // namespace libBDA
