// Tag 0x54, ETSI EN 300 468 6.2.9.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CContentDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x54;
    struct CEntry {
        uint8_t content;  // content_nibble_level_1 << 4 | content_nibble_level_2
        uint8_t user_byte;
    };
    CContentDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    const std::vector<CEntry>& GetEntries() const { return m_entries; }

private:
    std::vector<CEntry> m_entries;
};

} // namespace libDVB
