// Descriptors of the SDT (ETSI EN 300 468, 6.2): service names, availability.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

// 0x48, 6.2.33.
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

// 0x49, 6.2.10.
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

// 0x5D, 6.2.25.
class CMultilingualServiceNameDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x5D;
    struct CEntry {
        CLanguageCode language;
        std::u16string providerName;
        std::u16string serviceName;
    };
    CMultilingualServiceNameDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    const std::vector<CEntry>& GetEntries() const { return m_entries; }

private:
    std::vector<CEntry> m_entries;
};

// 0x72, 6.2.34.
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
