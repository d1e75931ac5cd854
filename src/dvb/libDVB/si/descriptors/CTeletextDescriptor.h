// Tag 0x56, ETSI EN 300 468 6.2.43.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CTeletextDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x56;
    struct CEntry {
        CLanguageCode ISO_639_language_code;
        uint8_t teletext_type;   // 5 bits
        uint8_t teletext_magazine_number; // 3 bits, 0 means magazine 8
        uint8_t teletext_page_number;     // two BCD digits
    };
    CTeletextDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    const std::vector<CEntry>& GetEntries() const { return m_entries; }

private:
    std::vector<CEntry> m_entries;
};

} // namespace libDVB
