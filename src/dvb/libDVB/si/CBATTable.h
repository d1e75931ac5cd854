// Bouquet association table (ETSI EN 300 468 5.2.2), table_id 0x4A.
#pragma once

#include "dvb/libDVB/si/CSILongTable.h"
#include "dvb/libDVB/si/CTransportStreamEntry.h"

namespace libDVB {

class CBATTable : public CSILongTable {
public:
    uint16_t GetBouquetId() const { return static_cast<uint16_t>(m_tableIdExtension); }
    const CDescriptorList& GetBouquetDescriptors() const { return m_descriptors; }
    const std::vector<CTransportStreamEntry>& GetTransportStreams() const { return m_streams; }

protected:
    uint32_t MinimumBody() const override { return 4; }
    HRESULT ParseBody(base::CByteReader& body) override;

private:
    CDescriptorList m_descriptors;
    std::vector<CTransportStreamEntry> m_streams;
};

} // namespace libDVB
