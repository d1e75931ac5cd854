#include "dvb/libBDA/CEnumBDAConnections.h"

namespace libBDA {

CEnumBDAConnections::CEnumBDAConnections(IUnknown* owner, const std::vector<CONNECTDATA>& connections,
                                         size_t position)
    : CEnumBDASnapshot(owner, connections, position)
{
    for (const CONNECTDATA& c : m_items)
        c.pUnk->AddRef();
}

CEnumBDAConnections::~CEnumBDAConnections()
{
    for (const CONNECTDATA& c : m_items)
        c.pUnk->Release();
}

} // namespace libBDA
