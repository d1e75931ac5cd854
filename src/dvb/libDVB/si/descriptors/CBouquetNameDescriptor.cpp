#include "dvb/libDVB/si/descriptors/CBouquetNameDescriptor.h"

namespace libDVB {

HRESULT CBouquetNameDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 0, r)))
        return E_FAIL;
    m_name = ReadString(r);
    return S_OK;
}

} // namespace libDVB
