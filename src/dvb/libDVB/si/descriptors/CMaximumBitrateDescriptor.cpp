#include "dvb/libDVB/si/descriptors/CMaximumBitrateDescriptor.h"

namespace libDVB {

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
