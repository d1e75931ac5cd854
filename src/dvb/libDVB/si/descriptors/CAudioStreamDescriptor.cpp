#include "dvb/libDVB/si/descriptors/CAudioStreamDescriptor.h"

namespace libDVB {

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

} // namespace libDVB
