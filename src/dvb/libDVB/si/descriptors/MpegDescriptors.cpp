#include "dvb/libDVB/si/descriptors/MpegDescriptors.h"

namespace libDVB {

HRESULT CVideoStreamDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 1, r)))
        return E_FAIL;
    m_multipleFrameRate = static_cast<uint8_t>(r.Bits(1));
    m_frameRateCode = static_cast<uint8_t>(r.Bits(4));
    m_mpeg1Only = static_cast<uint8_t>(r.Bits(1));
    m_constrainedParameter = static_cast<uint8_t>(r.Bits(1));
    m_stillPicture = static_cast<uint8_t>(r.Bits(1));
    if (m_mpeg1Only == 0) {
        m_profileAndLevel = r.U8();
        m_chromaFormat = static_cast<uint8_t>(r.Bits(2));
        m_frameRateExtension = static_cast<uint8_t>(r.Bits(1));
        r.SkipBits(5);
    }
    return r.Overrun() ? E_FAIL : S_OK;
}

HRESULT CAudioStreamDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 1, r)))
        return E_FAIL;
    m_freeFormat = static_cast<uint8_t>(r.Bits(1));
    m_id = static_cast<uint8_t>(r.Bits(1));
    m_layer = static_cast<uint8_t>(r.Bits(2));
    m_variableRate = static_cast<uint8_t>(r.Bits(1));
    return S_OK;
}

HRESULT CDataStreamAlignmentDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 1, r)))
        return E_FAIL;
    m_alignmentType = r.U8();
    return S_OK;
}

HRESULT CVideoWindowDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 4, r)))
        return E_FAIL;
    m_horizontalOffset = static_cast<uint16_t>(r.Bits(14));
    m_verticalOffset = static_cast<uint16_t>(r.Bits(14));
    m_windowPriority = static_cast<uint8_t>(r.Bits(4));
    return S_OK;
}

HRESULT CISO639LanguageDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 0, r)))
        return E_FAIL;
    while (r.Remaining() >= 4) {
        m_language = ReadCode(r);
        m_audioType = r.U8();
    }
    return S_OK;
}

HRESULT CMaximumBitrateDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 3, r)))
        return E_FAIL;
    r.SkipBits(2);
    m_maximumBitrate = r.Bits(22);
    return S_OK;
}

} // namespace libDVB
