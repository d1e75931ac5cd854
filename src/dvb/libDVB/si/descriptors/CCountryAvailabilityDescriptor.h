// Tag 0x49, ETSI EN 300 468 6.2.10.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CCountryAvailabilityDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x49;
    CCountryAvailabilityDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    uint8_t GetCountryAvailabilityFlag() const { return m_availability; }
    const std::vector<CLanguageCode>& GetCountries() const { return m_countries; }

private:
    uint8_t m_availability = 0;
    std::vector<CLanguageCode> m_countries;
};

} // namespace libDVB
