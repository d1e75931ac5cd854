#include "dvb/libDVB/si/descriptors/CSubtitlingDescriptor.h"

namespace libDVB {

HRESULT CSubtitlingDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 0, r)))
        return E_FAIL;
    while (r.Remaining() >= 8) {
        CEntry entry;
        entry.language = ReadCode(r);
        entry.subtitlingType = r.U8();
        entry.compositionPageId = r.U16();
        entry.ancillaryPageId = r.U16();
        m_entries.push_back(entry);
    }
    return S_OK;
}

} // namespace libDVB
