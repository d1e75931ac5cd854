// Network information table (ETSI EN 300 468 5.2.1), table_id 0x40 (actual) and 0x41 (other).
#pragma once

#include "dvb/libDVB/si/CSILongTable.h"
#include "dvb/libDVB/si/CTransportStreamEntry.h"

namespace libDVB {

class CNITTable : public CSILongTable {
public:
    uint16_t GetNetworkId() const { return static_cast<uint16_t>(m_tableIdExtension); }
    const CDescriptorList& GetNetworkDescriptors() const { return m_descriptors; }
    const std::vector<CTransportStreamEntry>& GetTransportStreams() const { return m_streams; }

protected:
    uint32_t MinimumBody() const override { return 4; }
    HRESULT ParseBody(base::CByteReader& body) override;

private:
    CDescriptorList m_descriptors;
    std::vector<CTransportStreamEntry> m_streams;
};

} // namespace libDVB
