// Descriptors of DVB elementary streams in the PMT (ETSI EN 300 468, 6.2): teletext, subtitling,
// and the kinds whose presence alone matters.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

// 0x56, 6.2.43.
class CTeletextDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x56;
    struct CEntry {
        CLanguageCode language;
        uint8_t teletextType;   // 5 bits
        uint8_t magazineNumber; // 3 bits, 0 means magazine 8
        uint8_t pageNumber;     // two BCD digits
    };
    CTeletextDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    const std::vector<CEntry>& GetEntries() const { return m_entries; }

private:
    std::vector<CEntry> m_entries;
};

// 0x59, 6.2.41.
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

// 0x68 DSNG, 0x69 PDC, 0x6A AC-3: tag and length only.
class CTagOnlyDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTagDSNG = 0x68;
    static constexpr uint8_t kTagPDC = 0x69;
    static constexpr uint8_t kTagAC3 = 0x6A;
    explicit CTagOnlyDescriptor(uint8_t tag) : CDescriptor(tag) {}
};

} // namespace libDVB
