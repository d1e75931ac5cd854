#include "dvb/libBDA/CBDAConnectionPoint.h"

#include <new>
#include <olectl.h>

#include "dshow/CAutoLock.h"
#include "dvb/libBDA/CBDAConnectionPointContainer.h"
#include "dvb/libBDA/CEnumBDAConnections.h"

namespace libBDA {

CBDAConnectionPoint::CBDAConnectionPoint(IUnknown* owner, CBDAConnectionPointContainer* container, REFIID iid,
                                         bool multipleSinks, IBDAAdviseNotify* notify)
    : CUnknown(L"Evil Connection Point", owner),
      m_container(container),
      m_iid(iid),
      m_multipleSinks(multipleSinks),
      m_notify(notify)
{
}

CBDAConnectionPoint::~CBDAConnectionPoint()
{
    for (IUnknown* sink : m_sinks) {
        if (sink)
            sink->Release();
    }
}

STDMETHODIMP CBDAConnectionPoint::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IConnectionPoint)
        return dshow::GetInterface(static_cast<IConnectionPoint*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CBDAConnectionPoint::GetConnectionInterface(IID* iid)
{
    if (!iid)
        return E_POINTER;
    *iid = m_iid;
    return S_OK;
}

STDMETHODIMP CBDAConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container)
{
    if (!container)
        return E_POINTER;
    return dshow::GetInterface(static_cast<IConnectionPointContainer*>(m_container),
                               reinterpret_cast<void**>(container));
}

STDMETHODIMP CBDAConnectionPoint::Advise(IUnknown* sink, DWORD* cookie)
{
    if (!sink || !cookie)
        return E_POINTER;
    dshow::CAutoLock lock(&m_lock);
    if (!m_multipleSinks) {
        for (IUnknown* existing : m_sinks) {
            if (existing)
                return CONNECT_E_ADVISELIMIT;
        }
    }
    if (m_notify)
        m_notify->OnAdvise(sink, true);
    sink->AddRef();
    size_t slot = 0;
    while (slot < m_sinks.size() && m_sinks[slot])
        ++slot;
    if (slot == m_sinks.size())
        m_sinks.push_back(sink);
    else
        m_sinks[slot] = sink;
    *cookie = static_cast<DWORD>(slot + 1);
    return S_OK;
}

STDMETHODIMP CBDAConnectionPoint::Unadvise(DWORD cookie)
{
    dshow::CAutoLock lock(&m_lock);
    if (cookie == 0 || cookie > m_sinks.size() || !m_sinks[cookie - 1])
        return CONNECT_E_NOCONNECTION;
    IUnknown* sink = m_sinks[cookie - 1];
    if (m_notify)
        m_notify->OnAdvise(sink, false);
    m_sinks[cookie - 1] = nullptr;
    sink->Release();
    return S_OK;
}

STDMETHODIMP CBDAConnectionPoint::EnumConnections(IEnumConnections** connections)
{
    if (!connections)
        return E_POINTER;
    dshow::CAutoLock lock(&m_lock);
    std::vector<CONNECTDATA> snapshot;
    for (size_t i = 0; i < m_sinks.size(); ++i) {
        if (m_sinks[i])
            snapshot.push_back(CONNECTDATA{m_sinks[i], static_cast<DWORD>(i + 1)});
    }
    auto* e = new (std::nothrow) CEnumBDAConnections(GetOwner(), snapshot, 0);
    *connections = e;
    if (!e)
        return E_OUTOFMEMORY;
    e->AddRef();
    return S_OK;
}

} // namespace libBDA
