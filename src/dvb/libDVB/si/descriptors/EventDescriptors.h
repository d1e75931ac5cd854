// Descriptors of EIT events (ETSI EN 300 468, 6.2): names and texts, components, content, ratings.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

// 0x4D, 6.2.37.
class CShortEventDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x4D;
    CShortEventDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    const CLanguageCode& GetLanguageCode() const { return m_language; }
    const std::u16string& GetEventName() const { return m_eventName; }
    const std::u16string& GetText() const { return m_text; }

private:
    CLanguageCode m_language{};
    std::u16string m_eventName;
    std::u16string m_text;
};

// 0x4E, 6.2.15. One part of an event's long text; joining the parts 0..last is the reader's task.
class CExtendedEventDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x4E;
    struct CItem {
        std::u16string description;
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

// 0x50, 6.2.8. The text fills the rest of the payload (it has no length byte of its own).
class CComponentDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x50;
    CComponentDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    uint8_t GetStreamContent() const { return m_streamContent; }
    uint8_t GetComponentType() const { return m_componentType; }
    uint8_t GetComponentTag() const { return m_componentTag; }
    const CLanguageCode& GetLanguageCode() const { return m_language; }
    const std::u16string& GetText() const { return m_text; }

private:
    uint8_t m_streamContent = 0, m_componentType = 0, m_componentTag = 0;
    CLanguageCode m_language{};
    std::u16string m_text;
};

// 0x54, 6.2.9.
class CContentDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x54;
    struct CEntry {
        uint8_t content;  // content_nibble_level_1 << 4 | content_nibble_level_2
        uint8_t userByte;
    };
    CContentDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    const std::vector<CEntry>& GetEntries() const { return m_entries; }

private:
    std::vector<CEntry> m_entries;
};

// 0x55, 6.2.28.
class CParentalRatingDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x55;
    struct CEntry {
        CLanguageCode country;
        uint8_t rating;
    };
    CParentalRatingDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    const std::vector<CEntry>& GetEntries() const { return m_entries; }

private:
    std::vector<CEntry> m_entries;
};

// 0x5E, 6.2.23.
class CMultilingualComponentDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x5E;
    struct CEntry {
        CLanguageCode language;
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
