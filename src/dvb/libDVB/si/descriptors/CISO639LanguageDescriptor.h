// Tag 0x0A, ISO/IEC 13818-1 2.6.18. Keeps the last 4-byte entry of the loop; no entry leaves the code zero.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CISO639LanguageDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x0A;
    CISO639LanguageDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    const CLanguageCode& GetLanguageCode() const { return m_language; }
    uint8_t GetAudioType() const { return m_audioType; }

private:
    CLanguageCode m_language{};
    uint8_t m_audioType = 0;
};

} // namespace libDVB
