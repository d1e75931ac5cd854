#include "dvb/libDVB/si/descriptors/CVideoStreamDescriptor.h"

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

} // namespace libDVB
