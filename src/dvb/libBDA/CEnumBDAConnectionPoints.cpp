#include "dvb/libBDA/CEnumBDAConnectionPoints.h"

#include <new>

namespace libBDA {

CEnumBDAConnectionPoints::CEnumBDAConnectionPoints(IUnknown* owner, const std::vector<IConnectionPoint*>& points,
                                                   size_t position)
    : m_owner(owner), m_points(points), m_position(position)
{
    m_owner->AddRef();
}

CEnumBDAConnectionPoints::~CEnumBDAConnectionPoints() { m_owner->Release(); }

STDMETHODIMP CEnumBDAConnectionPoints::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IEnumConnectionPoints) {
        *ppv = static_cast<IEnumConnectionPoints*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CEnumBDAConnectionPoints::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_refCount));
}

STDMETHODIMP_(ULONG) CEnumBDAConnectionPoints::Release()
{
    LONG count = InterlockedDecrement(&m_refCount);
    if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}

STDMETHODIMP CEnumBDAConnectionPoints::Next(ULONG count, IConnectionPoint** points, ULONG* fetched)
{
    if (!points)
        return E_POINTER;
    ULONG got = 0;
    while (got < count && m_position < m_points.size()) {
        points[got] = m_points[m_position++];
        points[got]->AddRef();
        ++got;
    }
    if (fetched)
        *fetched = got;
    return got == count ? S_OK : S_FALSE;
}

STDMETHODIMP CEnumBDAConnectionPoints::Skip(ULONG count)
{
    size_t left = m_points.size() - m_position;
    if (count > left) {
        m_position = m_points.size();
        return S_FALSE;
    }
    m_position += count;
    return S_OK;
}

STDMETHODIMP CEnumBDAConnectionPoints::Reset()
{
    m_position = 0;
    return S_OK;
}

STDMETHODIMP CEnumBDAConnectionPoints::Clone(IEnumConnectionPoints** clone)
{
    if (!clone)
        return E_POINTER;
    auto* copy = new (std::nothrow) CEnumBDAConnectionPoints(m_owner, m_points, m_position);
    *clone = copy;
    if (!copy)
        return E_OUTOFMEMORY;
    copy->AddRef();
    return S_OK;
}

} // namespace libBDA
