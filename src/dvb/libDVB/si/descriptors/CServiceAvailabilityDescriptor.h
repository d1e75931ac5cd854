// Tag 0x72, ETSI EN 300 468 6.2.34.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CServiceAvailabilityDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x72;
    CServiceAvailabilityDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    uint8_t GetAvailabilityFlag() const { return m_availability; }
    const std::vector<uint16_t>& GetCellIds() const { return m_cellIds; }

private:
    uint8_t m_availability = 0;
    std::vector<uint16_t> m_cellIds;
};

} // namespace libDVB
