#include "dvb/libDVB/si/descriptors/CDataStreamAlignmentDescriptor.h"

namespace libDVB {

HRESULT CDataStreamAlignmentDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 1, r)))
        return E_FAIL;
    m_alignmentType = r.U8();
    return S_OK;
}

} // namespace libDVB
