// Reassembles PSI/SI sections from the packets of one PID (ISO/IEC 13818-1, 2.4.4) and hands each
// complete section, from its table_id, to the owner.
#pragma once

#include <memory>

#include "dvb/libDVB/demux/CTSDemultiplexerStream.h"

namespace libDVB {

class CTSSectionStream : public CTSDemultiplexerStream {
public:
    static constexpr uint32_t kBufferSize = 131072;

    CTSSectionStream(CTSDemultiplexerStreamCallback* owner, uint16_t pid);

    HRESULT OnPacket(const uint8_t* packet, uint32_t length) override;

    uint32_t GetPendingBytes() const { return m_fill; }

private:
    bool Append(const uint8_t* data, uint32_t length);
    void DeliverSections();

    std::unique_ptr<uint8_t[]> m_buffer;
    uint32_t m_fill = 0;
};

} // namespace libDVB
