// Tag 0x55, ETSI EN 300 468 6.2.28.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CParentalRatingDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x55;
    struct CEntry {
        CLanguageCode country_code;
        uint8_t rating;
    };
    CParentalRatingDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    const std::vector<CEntry>& GetEntries() const { return m_entries; }

private:
    std::vector<CEntry> m_entries;
};

} // namespace libDVB
