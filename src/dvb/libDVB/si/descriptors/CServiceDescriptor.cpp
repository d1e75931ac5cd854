#include "dvb/libDVB/si/descriptors/CServiceDescriptor.h"

#include "dvb/libDVB/si/DVBText.h"

namespace libDVB {

HRESULT CServiceDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 1, r)))
        return E_FAIL;
    m_serviceType = r.U8();
    m_providerName = ReadDVBText(r);
    m_serviceName = ReadDVBText(r);
    return S_OK;
}

} // namespace libDVB
