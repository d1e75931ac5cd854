// Tag 0x59, ETSI EN 300 468 6.2.41.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CSubtitlingDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x59;
    struct CEntry {
        CLanguageCode ISO_639_language_code;
        uint8_t subtitling_type;
        uint16_t composition_page_id;
        uint16_t ancillary_page_id;
    };
    CSubtitlingDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    const std::vector<CEntry>& GetEntries() const { return m_entries; }

private:
    std::vector<CEntry> m_entries;
};

} // namespace libDVB
