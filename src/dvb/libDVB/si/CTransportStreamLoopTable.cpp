#include "dvb/libDVB/si/CTransportStreamLoopTable.h"

#include "dvb/libDVB/si/SIReading.h"

namespace libDVB {

HRESULT CTransportStreamLoopTable::ParseBody(base::CByteReader& body)
{
    CDescriptorList descriptors;
    std::vector<CTransportStreamEntry> streams;
    if (FAILED(ReadDescriptorLoop(body, 4, descriptors)))
        return E_FAIL;
    body.SkipBits(4);
    base::CByteReader loop = body.Sub(body.Bits(12));
    if (body.Overrun())
        return E_FAIL;
    while (loop.Remaining() >= 6) {
        CTransportStreamEntry entry;
        entry.transport_stream_id = loop.U16();
        entry.original_network_id = loop.U16();
        if (FAILED(ReadDescriptorLoop(loop, 4, entry.descriptors)))
            return E_FAIL;
        streams.push_back(std::move(entry));
    }
    m_descriptors = std::move(descriptors);
    m_streams = std::move(streams);
    return S_OK;
}

} // namespace libDVB
