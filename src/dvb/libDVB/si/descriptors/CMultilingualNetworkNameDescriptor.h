// Tag 0x5B, ETSI EN 300 468 6.2.24: names kept as 8-bit strings.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CMultilingualNetworkNameDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x5B;
    struct CEntry {
        CLanguageCode ISO_639_language_code;
        std::string network_name;
    };
    CMultilingualNetworkNameDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    const std::vector<CEntry>& GetEntries() const { return m_entries; }

private:
    std::vector<CEntry> m_entries;
};

} // namespace libDVB
