// Tag 0x59, ETSI EN 300 468 6.2.41.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CSubtitlingDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x59;
    struct CEntry {
        CLanguageCode language;
        uint8_t subtitlingType;
        uint16_t compositionPageId;
        uint16_t ancillaryPageId;
    };
    CSubtitlingDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    const std::vector<CEntry>& GetEntries() const { return m_entries; }

private:
    std::vector<CEntry> m_entries;
};

} // namespace libDVB
