#include "dvb/libDVB/si/descriptors/CMultilingualBouquetNameDescriptor.h"

#include "dvb/libDVB/si/DVBText.h"

namespace libDVB {

HRESULT CMultilingualBouquetNameDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 0, r)))
        return E_FAIL;
    while (r.Remaining() >= 4) {
        CEntry entry;
        entry.ISO_639_language_code = ReadCode(r);
        entry.bouquet_name = ReadDVBText(r);
        m_entries.push_back(std::move(entry));
    }
    return S_OK;
}

} // namespace libDVB
