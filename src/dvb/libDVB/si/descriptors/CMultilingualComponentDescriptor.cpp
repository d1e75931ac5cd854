#include "dvb/libDVB/si/descriptors/CMultilingualComponentDescriptor.h"

#include "dvb/libDVB/si/DVBText.h"

namespace libDVB {

HRESULT CMultilingualComponentDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 1, r)))
        return E_FAIL;
    m_componentTag = r.U8();
    while (r.Remaining() >= 4) {
        CEntry entry;
        entry.ISO_639_language_code = ReadCode(r);
        entry.text = ReadDVBText(r);
        m_entries.push_back(std::move(entry));
    }
    return S_OK;
}

} // namespace libDVB
