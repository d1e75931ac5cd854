// Tag 0x4D, ETSI EN 300 468 6.2.37.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

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

} // namespace libDVB
