#include "dvb/libDVB/si/descriptors/CMultilingualServiceNameDescriptor.h"

#include "dvb/libDVB/si/DVBText.h"

namespace libDVB {

HRESULT CMultilingualServiceNameDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 0, r)))
        return E_FAIL;
    while (r.Remaining() >= 5) {
        CEntry entry;
        entry.language = ReadCode(r);
        entry.providerName = ReadDVBText(r);
        entry.serviceName = ReadDVBText(r);
        m_entries.push_back(std::move(entry));
    }
    return S_OK;
}

} // namespace libDVB
