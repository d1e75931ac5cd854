// Base of the NIT and the BAT, whose bodies are alike after their first id: a descriptor loop for
// the network or bouquet, then the transport streams with the descriptors of each.
#pragma once

#include <vector>

#include "dvb/libDVB/si/CSILongTable.h"
#include "dvb/libDVB/si/CTransportStreamEntry.h"

namespace libDVB {

class CTransportStreamLoopTable : public CSILongTable {
public:
    const std::vector<CTransportStreamEntry>& GetTransportStreams() const { return m_streams; }

protected:
    CTransportStreamLoopTable() = default;
    ~CTransportStreamLoopTable() = default;

    uint32_t MinimumBody() const override { return 4; }
    // A loop length that claims more than remains is cut to what remains (see ReadLoop).
    HRESULT ParseBody(base::CByteReader& body) override;

    // The first descriptor loop: the network's or the bouquet's.
    CDescriptorList m_descriptors;

private:
    std::vector<CTransportStreamEntry> m_streams;
};

} // namespace libDVB
