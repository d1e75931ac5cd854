// Tag 0x5E, ETSI EN 300 468 6.2.23.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CMultilingualComponentDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x5E;
    struct CEntry {
        CLanguageCode ISO_639_language_code;
        std::u16string text;
    };
    CMultilingualComponentDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    uint8_t GetComponentTag() const { return m_componentTag; }
    const std::vector<CEntry>& GetEntries() const { return m_entries; }

private:
    uint8_t m_componentTag = 0;
    std::vector<CEntry> m_entries;
};

} // namespace libDVB
