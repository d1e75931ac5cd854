// Stream owners that record what reaches them, shared by the router tests.
#pragma once

#include <cstdint>
#include <vector>

#include "dvb/libDVB/demux/CTSDemultiplexerStream.h"

namespace test {

class CRecordingOwner : public libDVB::CTSDemultiplexerStream::CTSDemultiplexerStreamCallback {
public:
    HRESULT OnStreamPacket(libDVB::CTSDemultiplexerStream* stream, const uint8_t* data, uint32_t length,
                           uint32_t flag) override
    {
        received.emplace_back(data, data + length);
        pids.push_back(stream->GetPid());
        flags.push_back(flag);
        return result;
    }
    std::vector<std::vector<uint8_t>> received;
    std::vector<uint16_t> pids;
    std::vector<uint32_t> flags;
    HRESULT result = S_OK;
};

} // namespace test
