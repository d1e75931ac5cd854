// Bouquet association table (ETSI EN 300 468 5.2.2), table_id 0x4A.
#pragma once

#include "dvb/libDVB/si/CTransportStreamLoopTable.h"

namespace libDVB {

class CBATTable : public CTransportStreamLoopTable {
public:
    uint16_t GetBouquetId() const { return static_cast<uint16_t>(m_tableIdExtension); }
    const CDescriptorList& GetBouquetDescriptors() const { return m_descriptors; }
};

} // namespace libDVB
