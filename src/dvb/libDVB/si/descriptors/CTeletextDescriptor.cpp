#include "dvb/libDVB/si/descriptors/CTeletextDescriptor.h"

namespace libDVB {

HRESULT CTeletextDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 0, r)))
        return E_FAIL;
    while (r.Remaining() >= 5) {
        CEntry entry;
        entry.ISO_639_language_code = ReadCode(r);
        entry.teletext_type = static_cast<uint8_t>(r.Bits(5));
        entry.teletext_magazine_number = static_cast<uint8_t>(r.Bits(3));
        entry.teletext_page_number = r.U8();
        m_entries.push_back(entry);
    }
    return S_OK;
}

} // namespace libDVB
