#include "dvb/libDVB/si/CPMTTable.h"

#include "dvb/libDVB/si/SIReading.h"

namespace libDVB {

HRESULT CPMTTable::ParseBody(base::CByteReader& body)
{
    body.SkipBits(3);
    const uint16_t pcrPid = static_cast<uint16_t>(body.Bits(13));
    CDescriptorList programDescriptors;
    ReadDescriptorLoop(body, 4, programDescriptors);
    std::vector<CElementaryStream> streams;
    while (body.Remaining() >= 5) {
        CElementaryStream stream;
        stream.stream_type = body.U8();
        body.SkipBits(3);
        stream.elementary_PID = static_cast<uint16_t>(body.Bits(13));
        ReadDescriptorLoop(body, 4, stream.descriptors);
        streams.push_back(std::move(stream));
    }
    m_pcrPid = pcrPid;
    m_programDescriptors = std::move(programDescriptors);
    m_streams = std::move(streams);
    return S_OK;
}

} // namespace libDVB
