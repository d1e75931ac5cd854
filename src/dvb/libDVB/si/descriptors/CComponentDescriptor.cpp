#include "dvb/libDVB/si/descriptors/CComponentDescriptor.h"

#include "dvb/libDVB/si/DVBText.h"

namespace libDVB {

HRESULT CComponentDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 6, r)))
        return E_FAIL;
    m_streamContent = r.U8() & 0x0F;
    m_componentType = r.U8();
    m_componentTag = r.U8();
    m_language = ReadCode(r);
    const size_t n = r.Remaining();
    m_text = ConvertDVBText(r.Take(n), n);
    return S_OK;
}

} // namespace libDVB
