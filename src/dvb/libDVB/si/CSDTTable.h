// Service description table (ETSI EN 300 468 5.2.3), table_id 0x42 (actual) and 0x46 (other).
#pragma once

#include "dvb/libDVB/si/CSILongTable.h"
#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CSDTTable : public CSILongTable {
public:
    struct CServiceEntry {
        uint16_t service_id = 0;
        uint8_t EIT_schedule_flag = 0;
        uint8_t EIT_present_following_flag = 0;
        uint8_t running_status = 0;
        uint8_t free_CA_mode = 0;
        CDescriptorList descriptors;
    };

    uint16_t GetTransportStreamId() const { return static_cast<uint16_t>(m_tableIdExtension); }
    uint16_t GetOriginalNetworkId() const { return m_originalNetworkId; }
    const std::vector<CServiceEntry>& GetServices() const { return m_services; }

protected:
    uint32_t MinimumBody() const override { return 3; }
    HRESULT ParseBody(base::CByteReader& body) override;

private:
    uint16_t m_originalNetworkId = 0;
    std::vector<CServiceEntry> m_services;
};

} // namespace libDVB
