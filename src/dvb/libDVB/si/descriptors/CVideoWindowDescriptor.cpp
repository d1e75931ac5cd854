#include "dvb/libDVB/si/descriptors/CVideoWindowDescriptor.h"

namespace libDVB {

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

} // namespace libDVB
