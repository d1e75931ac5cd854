#include "dvb/libDVB/si/descriptors/CServiceListDescriptor.h"

namespace libDVB {

HRESULT CServiceListDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 3, r)))
        return E_FAIL;
    m_serviceId = r.U16();
    m_serviceType = r.U8();
    return S_OK;
}

} // namespace libDVB
