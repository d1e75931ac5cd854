// Tag 0x5D, ETSI EN 300 468 6.2.25.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CMultilingualServiceNameDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x5D;
    struct CEntry {
        CLanguageCode ISO_639_language_code;
        std::u16string service_provider_name;
        std::u16string service_name;
    };
    CMultilingualServiceNameDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    const std::vector<CEntry>& GetEntries() const { return m_entries; }

private:
    std::vector<CEntry> m_entries;
};

} // namespace libDVB
