// Tag 0x50, ETSI EN 300 468 6.2.8. The text fills the rest of the payload (it has no length byte of its own).
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

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

} // namespace libDVB
