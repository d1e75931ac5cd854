#include "dvb/libDVB/si/descriptors/CContentDescriptor.h"

namespace libDVB {

HRESULT CContentDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 0, r)))
        return E_FAIL;
    while (r.Remaining() >= 2) {
        CEntry entry;
        entry.content = r.U8();
        entry.user_byte = r.U8();
        m_entries.push_back(entry);
    }
    return S_OK;
}

} // namespace libDVB
