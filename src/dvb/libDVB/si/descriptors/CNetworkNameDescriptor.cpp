#include "dvb/libDVB/si/descriptors/CNetworkNameDescriptor.h"

namespace libDVB {

HRESULT CNetworkNameDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 1, r)))
        return E_FAIL;
    m_name = ReadString(r);
    return S_OK;
}

} // namespace libDVB
