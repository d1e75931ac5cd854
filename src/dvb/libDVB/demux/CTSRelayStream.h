// Passes every packet of an elementary-stream PID on to its owner, untouched.
#pragma once

#include "dvb/libDVB/demux/CTSDemultiplexerStream.h"

namespace libDVB {

class CTSRelayStream : public CTSDemultiplexerStream {
public:
    CTSRelayStream(CTSDemultiplexerStreamCallback* owner, uint16_t pid) : CTSDemultiplexerStream(owner, pid) {}

    HRESULT OnPacket(const uint8_t* packet, uint32_t length) override;
};

} // namespace libDVB
