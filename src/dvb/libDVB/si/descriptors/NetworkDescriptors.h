// Descriptors of the NIT and the BAT (ETSI EN 300 468, 6.2): network and bouquet names, service lists.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

// 0x40, 6.2.27: the name as broadcast (8-bit string of the whole payload).
class CNetworkNameDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x40;
    CNetworkNameDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    const std::string& GetName() const { return m_name; }

private:
    std::string m_name;
};

// 0x41, 6.2.35: the first entry of the list.
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

// 0x47, 6.2.4: the name as broadcast (8-bit string of the whole payload).
class CBouquetNameDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x47;
    CBouquetNameDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    const std::string& GetName() const { return m_name; }

private:
    std::string m_name;
};

// 0x5B, 6.2.24: names kept as 8-bit strings.
class CMultilingualNetworkNameDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x5B;
    struct CEntry {
        CLanguageCode language;
        std::string name;
    };
    CMultilingualNetworkNameDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    const std::vector<CEntry>& GetEntries() const { return m_entries; }

private:
    std::vector<CEntry> m_entries;
};

// 0x5C, 6.2.22.
class CMultilingualBouquetNameDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x5C;
    struct CEntry {
        CLanguageCode language;
        std::u16string name;
    };
    CMultilingualBouquetNameDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    const std::vector<CEntry>& GetEntries() const { return m_entries; }

private:
    std::vector<CEntry> m_entries;
};

} // namespace libDVB
