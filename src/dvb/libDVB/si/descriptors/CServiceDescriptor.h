// Tag 0x48, ETSI EN 300 468 6.2.33.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CServiceDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x48;
    CServiceDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    uint8_t GetServiceType() const { return m_serviceType; }
    const std::u16string& GetServiceProviderName() const { return m_providerName; }
    const std::u16string& GetServiceName() const { return m_serviceName; }

private:
    uint8_t m_serviceType = 0;
    std::u16string m_providerName;
    std::u16string m_serviceName;
};

} // namespace libDVB
