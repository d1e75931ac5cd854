#include "dvb/libDVB/si/SIReading.h"

#include "dvb/libDVB/si/descriptors/DescriptorFactory.h"

namespace libDVB {

HRESULT ReadDescriptorLoop(base::CByteReader& reader, unsigned reservedBits, CDescriptorList& list)
{
    reader.SkipBits(reservedBits);
    const uint32_t length = reader.Bits(12);
    base::CByteReader loop = reader.Sub(length);
    if (reader.Overrun())
        return E_FAIL;
    return ParseDescriptors(list, loop.Current(), static_cast<uint32_t>(loop.Size()));
}

} // namespace libDVB

namespace libDVB {

HRESULT ReadTransportStreamTable(base::CByteReader& body, CDescriptorList& first,
                                 std::vector<CTransportStreamEntry>& streams)
{
    if (FAILED(ReadDescriptorLoop(body, 4, first)))
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
    return S_OK;
}

} // namespace libDVB
