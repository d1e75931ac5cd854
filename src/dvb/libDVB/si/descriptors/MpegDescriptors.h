// Descriptors of the MPEG-2 systems layer (ISO/IEC 13818-1, 2.6) that the PMT carries.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

// 0x02, 2.6.2. The MPEG-2 fields exist only when MPEG_1_only_flag is 0; a descriptor that then
// lacks them is refused.
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

// 0x03, 2.6.4.
class CAudioStreamDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x03;
    CAudioStreamDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    uint8_t GetFreeFormatFlag() const { return m_freeFormat; }
    uint8_t GetId() const { return m_id; }
    uint8_t GetLayer() const { return m_layer; }
    uint8_t GetVariableRateAudioIndicator() const { return m_variableRate; }

private:
    uint8_t m_freeFormat = 0, m_id = 0, m_layer = 0, m_variableRate = 0;
};

// 0x06, 2.6.10.
class CDataStreamAlignmentDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x06;
    CDataStreamAlignmentDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    uint8_t GetAlignmentType() const { return m_alignmentType; }

private:
    uint8_t m_alignmentType = 0;
};

// 0x08, 2.6.14.
class CVideoWindowDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x08;
    CVideoWindowDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    uint16_t GetHorizontalOffset() const { return m_horizontalOffset; }
    uint16_t GetVerticalOffset() const { return m_verticalOffset; }
    uint8_t GetWindowPriority() const { return m_windowPriority; }

private:
    uint16_t m_horizontalOffset = 0, m_verticalOffset = 0;
    uint8_t m_windowPriority = 0;
};

// 0x0A, 2.6.18. Keeps the last 4-byte entry of the loop; no entry leaves the code zero.
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

// 0x0E, 2.6.26: in units of 50 bytes/s.
class CMaximumBitrateDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x0E;
    CMaximumBitrateDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    uint32_t GetMaximumBitrate() const { return m_maximumBitrate; }

private:
    uint32_t m_maximumBitrate = 0;
};

} // namespace libDVB
