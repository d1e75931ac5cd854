// Tag 0x5C, ETSI EN 300 468 6.2.22.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CMultilingualBouquetNameDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x5C;
    struct CEntry {
        CLanguageCode ISO_639_language_code;
        std::u16string bouquet_name;
    };
    CMultilingualBouquetNameDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    const std::vector<CEntry>& GetEntries() const { return m_entries; }

private:
    std::vector<CEntry> m_entries;
};

} // namespace libDVB
