// Network information table (ETSI EN 300 468 5.2.1), table_id 0x40 (actual) and 0x41 (other).
#pragma once

#include "dvb/libDVB/si/CTransportStreamLoopTable.h"

namespace libDVB {

class CNITTable : public CTransportStreamLoopTable {
public:
    uint16_t GetNetworkId() const { return static_cast<uint16_t>(m_tableIdExtension); }
    const CDescriptorList& GetNetworkDescriptors() const { return m_descriptors; }
};

} // namespace libDVB
