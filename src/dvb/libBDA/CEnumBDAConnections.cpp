#include "dvb/libBDA/CEnumBDAConnections.h"

#include <new>

namespace libBDA {

CEnumBDAConnections::CEnumBDAConnections(IUnknown* owner, const std::vector<CONNECTDATA>& connections,
                                         size_t position)
    : m_owner(owner), m_connections(connections), m_position(position)
{
    m_owner->AddRef();
    for (const CONNECTDATA& c : m_connections)
        c.pUnk->AddRef();
}

CEnumBDAConnections::~CEnumBDAConnections()
{
    for (const CONNECTDATA& c : m_connections)
        c.pUnk->Release();
    m_owner->Release();
}

STDMETHODIMP CEnumBDAConnections::Next(ULONG count, CONNECTDATA* connections, ULONG* fetched)
{
    if (!connections)
        return E_POINTER;
    ULONG got = 0;
    while (got < count && m_position < m_connections.size()) {
        connections[got] = m_connections[m_position++];
        connections[got].pUnk->AddRef();
        ++got;
    }
    if (fetched)
        *fetched = got;
    return got == count ? S_OK : S_FALSE;
}

STDMETHODIMP CEnumBDAConnections::Skip(ULONG count)
{
    size_t left = m_connections.size() - m_position;
    if (count > left) {
        m_position = m_connections.size();
        return S_FALSE;
    }
    m_position += count;
    return S_OK;
}

STDMETHODIMP CEnumBDAConnections::Reset()
{
    m_position = 0;
    return S_OK;
}

STDMETHODIMP CEnumBDAConnections::Clone(IEnumConnections** clone)
{
    if (!clone)
        return E_POINTER;
    auto* copy = new (std::nothrow) CEnumBDAConnections(m_owner, m_connections, m_position);
    *clone = copy;
    if (!copy)
        return E_OUTOFMEMORY;
    copy->AddRef();
    return S_OK;
}

} // namespace libBDA
