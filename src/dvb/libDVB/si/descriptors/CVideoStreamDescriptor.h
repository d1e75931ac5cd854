// Tag 0x02, ISO/IEC 13818-1 2.6.2. The MPEG-2 fields exist only when MPEG_1_only_flag is 0; a descriptor that then
// lacks them is refused.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CVideoStreamDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x02;
    CVideoStreamDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    uint8_t GetMultipleFrameRateFlag() const { return m_multipleFrameRate; }
    uint8_t GetFrameRateCode() const { return m_frameRateCode; }
    uint8_t GetMpeg1OnlyFlag() const { return m_mpeg1Only; }
    uint8_t GetConstrainedParameterFlag() const { return m_constrainedParameter; }
    uint8_t GetStillPictureFlag() const { return m_stillPicture; }
    uint8_t GetProfileAndLevelIndication() const { return m_profileAndLevel; }
    uint8_t GetChromaFormat() const { return m_chromaFormat; }
    uint8_t GetFrameRateExtensionFlag() const { return m_frameRateExtension; }

private:
    uint8_t m_multipleFrameRate = 0, m_frameRateCode = 0, m_mpeg1Only = 0, m_constrainedParameter = 0,
            m_stillPicture = 0, m_profileAndLevel = 0, m_chromaFormat = 0, m_frameRateExtension = 0;
};

} // namespace libDVB
