// IEnumConnections over a snapshot of a connection point's occupied slots.
#pragma once

#include "dshow/CComSingleInterface.h"

#include <ocidl.h>
#include <vector>

namespace libBDA {

class CEnumBDAConnections : public dshow::CComSingleInterface<IEnumConnections, &IID_IEnumConnections> {
public:
    // Takes a reference on each sink and on the owner for its lifetime.
    CEnumBDAConnections(IUnknown* owner, const std::vector<CONNECTDATA>& connections, size_t position);
    virtual ~CEnumBDAConnections();

    STDMETHODIMP Next(ULONG count, CONNECTDATA* connections, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumConnections** clone) override;

    static const wchar_t* Name() { return L"EnumConnections"; }

private:
    IUnknown* m_owner;
    std::vector<CONNECTDATA> m_connections;
    size_t m_position;
};

} // namespace libBDA
