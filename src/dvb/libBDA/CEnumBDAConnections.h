// IEnumConnections over a snapshot of a connection point's occupied slots.
#pragma once

#include "dvb/libBDA/CEnumBDASnapshot.h"

namespace libBDA {

class CEnumBDAConnections
    : public CEnumBDASnapshot<CEnumBDAConnections, IEnumConnections, &IID_IEnumConnections, CONNECTDATA> {
public:
    // Takes a reference on each sink and on the owner for its lifetime.
    CEnumBDAConnections(IUnknown* owner, const std::vector<CONNECTDATA>& connections, size_t position);
    ~CEnumBDAConnections() override;

    static const wchar_t* Name() { return L"EnumConnections"; }
};

} // namespace libBDA
