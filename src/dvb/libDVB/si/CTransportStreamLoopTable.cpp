#include "dvb/libDVB/si/CTransportStreamLoopTable.h"

#include "dvb/libDVB/si/SIReading.h"

namespace libDVB {

HRESULT CTransportStreamLoopTable::ParseBody(base::CByteReader& body)
{
    CDescriptorList descriptors;
    std::vector<CTransportStreamEntry> streams;
    ReadDescriptorLoop(body, 4, descriptors);
    base::CByteReader loop = ReadLoop(body, 4);
    while (loop.Remaining() >= 6) {
        CTransportStreamEntry entry;
        entry.transport_stream_id = loop.U16();
        entry.original_network_id = loop.U16();
        ReadDescriptorLoop(loop, 4, entry.descriptors);
        streams.push_back(std::move(entry));
    }
    m_descriptors = std::move(descriptors);
    m_streams = std::move(streams);
    return S_OK;
}

} // namespace libDVB
