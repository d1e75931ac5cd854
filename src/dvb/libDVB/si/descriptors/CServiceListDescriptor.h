// Tag 0x41, ETSI EN 300 468 6.2.35: the first entry of the list.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CServiceListDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x41;
    CServiceListDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    uint16_t GetServiceId() const { return m_serviceId; }
    uint8_t GetServiceType() const { return m_serviceType; }

private:
    uint16_t m_serviceId = 0;
    uint8_t m_serviceType = 0;
};

} // namespace libDVB
