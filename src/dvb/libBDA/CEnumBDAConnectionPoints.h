// IEnumConnectionPoints over the BD Dumper's connection points.
#pragma once

#include <ocidl.h>
#include <vector>

namespace libBDA {

class CEnumBDAConnectionPoints : public IEnumConnectionPoints {
public:
    // Holds the owner (which keeps the points alive) for its lifetime.
    CEnumBDAConnectionPoints(IUnknown* owner, const std::vector<IConnectionPoint*>& points, size_t position);
    virtual ~CEnumBDAConnectionPoints();

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumConnectionPoints** clone) override;

    static const wchar_t* Name() { return L"EnumConnectionPoints"; }

private:
    IUnknown* m_owner;
    std::vector<IConnectionPoint*> m_points;
    size_t m_position;
    volatile LONG m_refCount = 0;
};

} // namespace libBDA
