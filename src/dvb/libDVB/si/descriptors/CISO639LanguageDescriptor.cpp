#include "dvb/libDVB/si/descriptors/CISO639LanguageDescriptor.h"

namespace libDVB {

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

} // namespace libDVB
