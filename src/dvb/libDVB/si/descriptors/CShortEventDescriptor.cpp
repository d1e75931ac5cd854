#include "dvb/libDVB/si/descriptors/CShortEventDescriptor.h"

#include "dvb/libDVB/si/DVBText.h"

namespace libDVB {

HRESULT CShortEventDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 3, r)))
        return E_FAIL;
    m_language = ReadCode(r);
    m_eventName = ReadDVBText(r);
    m_text = ReadDVBText(r);
    return S_OK;
}

} // namespace libDVB
