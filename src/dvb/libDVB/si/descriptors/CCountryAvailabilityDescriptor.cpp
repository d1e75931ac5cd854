#include "dvb/libDVB/si/descriptors/CCountryAvailabilityDescriptor.h"

namespace libDVB {

HRESULT CCountryAvailabilityDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 1, r)))
        return E_FAIL;
    m_availability = static_cast<uint8_t>(r.U8() >> 7);
    while (r.Remaining() >= 3)
        m_countries.push_back(ReadCode(r));
    return S_OK;
}

} // namespace libDVB
