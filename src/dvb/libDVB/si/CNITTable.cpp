#include "dvb/libDVB/si/CNITTable.h"

#include "dvb/libDVB/si/SIReading.h"

namespace libDVB {

HRESULT CNITTable::ParseBody(base::CByteReader& body)
{
    CDescriptorList descriptors;
    std::vector<CTransportStreamEntry> streams;
    if (FAILED(ReadTransportStreamTable(body, descriptors, streams)))
        return E_FAIL;
    m_descriptors = std::move(descriptors);
    m_streams = std::move(streams);
    return S_OK;
}

} // namespace libDVB
