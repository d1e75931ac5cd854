#include "dvb/libDVB/si/descriptors/CMultilingualNetworkNameDescriptor.h"

#include "dvb/libDVB/si/DVBText.h"

namespace libDVB {

HRESULT CMultilingualNetworkNameDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 0, r)))
        return E_FAIL;
    while (r.Remaining() >= 4) {
        CEntry entry;
        entry.ISO_639_language_code = ReadCode(r);
        entry.network_name = ReadLengthPrefixedString(r);
        m_entries.push_back(std::move(entry));
    }
    return S_OK;
}

} // namespace libDVB
