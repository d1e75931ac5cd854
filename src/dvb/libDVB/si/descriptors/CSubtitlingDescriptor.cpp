#include "dvb/libDVB/si/descriptors/CSubtitlingDescriptor.h"

namespace libDVB {

HRESULT CSubtitlingDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 0, r)))
        return E_FAIL;
    while (r.Remaining() >= 8) {
        CEntry entry;
        entry.ISO_639_language_code = ReadCode(r);
        entry.subtitling_type = r.U8();
        entry.composition_page_id = r.U16();
        entry.ancillary_page_id = r.U16();
        m_entries.push_back(entry);
    }
    return S_OK;
}

} // namespace libDVB
