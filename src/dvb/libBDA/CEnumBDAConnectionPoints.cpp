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
