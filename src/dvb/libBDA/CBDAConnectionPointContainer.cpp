#include "dvb/libBDA/CBDAConnectionPointContainer.h"

#include <new>
#include <olectl.h>

#include "dvb/libBDA/CBDAConnectionPoint.h"
#include "dvb/libBDA/CEnumBDAConnectionPoints.h"

namespace libBDA {

CBDAConnectionPointContainer::CBDAConnectionPointContainer(IUnknown* owner)
    : CUnknown(L"Evil Connection Points", owner)
{
}

CBDAConnectionPointContainer::~CBDAConnectionPointContainer()
{
    for (CBDAConnectionPoint* point : m_points)
        delete point;
}

STDMETHODIMP CBDAConnectionPointContainer::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IConnectionPointContainer)
        return dshow::GetInterface(static_cast<IConnectionPointContainer*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CBDAConnectionPointContainer::EnumConnectionPoints(IEnumConnectionPoints** points)
{
    if (!points)
        return E_POINTER;
    std::vector<IConnectionPoint*> list;
    for (CBDAConnectionPoint* point : m_points)
        list.push_back(static_cast<IConnectionPoint*>(point));
    auto* e = new (std::nothrow) CEnumBDAConnectionPoints(GetOwner(), list, 0);
    *points = e;
    if (!e)
        return E_OUTOFMEMORY;
    e->AddRef();
    return S_OK;
}

STDMETHODIMP CBDAConnectionPointContainer::FindConnectionPoint(REFIID riid, IConnectionPoint** point)
{
    if (!point)
        return E_POINTER;
    for (CBDAConnectionPoint* candidate : m_points) {
        if (candidate->Iid() == riid)
            return dshow::GetInterface(static_cast<IConnectionPoint*>(candidate), reinterpret_cast<void**>(point));
    }
    *point = nullptr;
    return CONNECT_E_NOCONNECTION;
}

} // namespace libBDA
