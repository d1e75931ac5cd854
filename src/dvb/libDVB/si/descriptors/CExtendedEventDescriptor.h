// Tag 0x4E, ETSI EN 300 468 6.2.15. One part of an event's long text; joining the parts 0..last is the reader's task.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CExtendedEventDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x4E;
    struct CItem {
        std::u16string item_description;
        std::u16string item;
    };
    CExtendedEventDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    uint8_t GetDescriptorNumber() const { return m_number; }
    uint8_t GetLastDescriptorNumber() const { return m_lastNumber; }
    const CLanguageCode& GetLanguageCode() const { return m_language; }
    const std::vector<CItem>& GetItems() const { return m_items; }
    // This part of the event's text as broadcast, white space included: the parts are joined
    // in descriptor_number order before the whole is trimmed.
    const std::u16string& GetText() const { return m_text; }

private:
    uint8_t m_number = 0, m_lastNumber = 0;
    CLanguageCode m_language{};
    std::vector<CItem> m_items;
    std::u16string m_text;
};

} // namespace libDVB
