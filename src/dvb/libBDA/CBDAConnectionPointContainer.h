// The BD Dumper's connection-point container: the points in creation order, found by interface
// id. Its reference count is the filter's; the filter deletes it.
#pragma once

#include <ocidl.h>
#include <vector>

#include "dshow/CUnknown.h"

namespace libBDA {

class CBDAConnectionPoint;

class CBDAConnectionPointContainer : public dshow::CUnknown, public IConnectionPointContainer {
public:
    explicit CBDAConnectionPointContainer(IUnknown* owner);
    ~CBDAConnectionPointContainer() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

    // Appends a point; the container owns it from then on.
    void Add(CBDAConnectionPoint* point) { m_points.push_back(point); }

private:
    std::vector<CBDAConnectionPoint*> m_points;
};

} // namespace libBDA
