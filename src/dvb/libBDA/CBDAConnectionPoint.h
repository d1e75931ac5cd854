// One connection point of the BD Dumper: it keeps the sinks a network provider advises, in
// slots whose index + 1 is the cookie, and never calls them.
#pragma once

#include <ocidl.h>
#include <vector>

#include "dshow/CCritSec.h"
#include "dshow/CUnknown.h"
#include "dvb/libBDA/IBDAAdviseNotify.h"

namespace libBDA {

class CBDAConnectionPointContainer;

class CBDAConnectionPoint : public dshow::CUnknown, public IConnectionPoint {
public:
    CBDAConnectionPoint(IUnknown* owner, CBDAConnectionPointContainer* container, REFIID iid, bool multipleSinks,
                        IBDAAdviseNotify* notify);
    ~CBDAConnectionPoint() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections** connections) override;

    const IID& Iid() const { return m_iid; }

private:
    CBDAConnectionPointContainer* m_container;
    IID m_iid;
    bool m_multipleSinks;
    IBDAAdviseNotify* m_notify;
    dshow::CCritSec m_lock;
    std::vector<IUnknown*> m_sinks; // an empty slot is null
};

} // namespace libBDA
