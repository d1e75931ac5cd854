#include "dvb/libDVB/si/descriptors/CParentalRatingDescriptor.h"

namespace libDVB {

HRESULT CParentalRatingDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 0, r)))
        return E_FAIL;
    while (r.Remaining() >= 4) {
        CEntry entry;
        entry.country_code = ReadCode(r);
        entry.rating = r.U8();
        m_entries.push_back(entry);
    }
    return S_OK;
}

} // namespace libDVB
