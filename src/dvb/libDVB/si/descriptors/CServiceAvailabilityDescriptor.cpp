#include "dvb/libDVB/si/descriptors/CServiceAvailabilityDescriptor.h"

namespace libDVB {

HRESULT CServiceAvailabilityDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 1, r)))
        return E_FAIL;
    m_availability = static_cast<uint8_t>(r.U8() >> 7);
    while (r.Remaining() >= 2)
        m_cellIds.push_back(r.U16());
    return S_OK;
}

} // namespace libDVB
