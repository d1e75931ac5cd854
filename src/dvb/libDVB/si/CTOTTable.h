// Time offset table (ETSI EN 300 468 5.2.6), table_id 0x73: the short section form, but with a
// CRC_32 that must hold and that the descriptor loop may not cover.
#pragma once

#include "dvb/libDVB/si/CSITable.h"
#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CTOTTable : public CSITable {
public:
    HRESULT CheckHeader(const uint8_t* section, uint32_t length) override;

    int64_t GetUtcTime() const { return m_utcTime; }
    const CDescriptorList& GetDescriptors() const { return m_descriptors; }

protected:
    // UTC_time, descriptors_loop_length and the CRC.
    uint32_t MinimumBody() const override { return 11; }
    HRESULT ParseBody(base::CByteReader& body) override;

private:
    int64_t m_utcTime = 0;
    CDescriptorList m_descriptors;
};

} // namespace libDVB
