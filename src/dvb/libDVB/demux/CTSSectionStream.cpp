#include "dvb/libDVB/demux/CTSSectionStream.h"

#include <cstring>

#include "base/Trace.h"
#include "dvb/libDVB/demux/TSPacket.h"

namespace libDVB {

CTSSectionStream::CTSSectionStream(CTSDemultiplexerStreamCallback* owner, uint16_t pid)
    : CTSDemultiplexerStream(owner, pid), m_buffer(new uint8_t[kBufferSize]())
{
}

bool CTSSectionStream::Append(const uint8_t* data, uint32_t length)
{
    if (length > kBufferSize - m_fill)
        return false;
    std::memcpy(m_buffer.get() + m_fill, data, length);
    m_fill += length;
    return true;
}

// Hands over every complete section at the front of the buffer. An incomplete section is moved to
// the front and waits for its remaining bytes, so each section is delivered exactly once; stuffing
// (0xFF where a table_id would stand) ends the useful content.
void CTSSectionStream::DeliverSections()
{
    const uint8_t* buffer = m_buffer.get();
    uint32_t offset = 0;
    while (offset < m_fill) {
        const uint32_t left = m_fill - offset;
        if (buffer[offset] == 0xFF) {
            m_fill = 0;
            return;
        }
        if (left < 3)
            break; // header split across packets
        const uint32_t total = 3 + (((buffer[offset + 1] & 0x0F) << 8) | buffer[offset + 2]);
        if (left < total)
            break;
        if (m_owner)
            m_owner->OnStreamPacket(this, buffer + offset, total, 0);
        offset += total;
    }
    if (offset > 0) {
        std::memmove(m_buffer.get(), buffer + offset, m_fill - offset);
        m_fill -= offset;
    }
}

HRESULT CTSSectionStream::OnPacket(const uint8_t* packet, uint32_t length)
{
    CTSDemultiplexerStream::OnPacket(packet, length);

    const uint32_t offset = TSPayloadOffset(packet);
    if (offset == 0)
        return S_OK;
    const uint8_t* payload = packet + offset;
    uint32_t remaining = kTSPacketSize - offset;

    if (TSPayloadUnitStart(packet)) {
        const uint32_t pointer = payload[0];
        ++payload;
        --remaining;
        if (pointer > remaining) {
            // A pointer_field past the payload: the packet's section start cannot be trusted.
            m_fill = 0;
            base::TraceRefused("section", "pointer_field past the packet");
            return E_FAIL;
        }
        if (m_fill > 0 && Append(payload, pointer))
            DeliverSections();
        m_fill = 0;
        payload += pointer;
        remaining -= pointer;
    } else if (m_fill == 0) {
        return S_FALSE; // waiting for a section start
    }

    if (!Append(payload, remaining)) {
        m_fill = 0;
        base::TraceRefused("section", "longer than the section buffer");
        return E_FAIL;
    }
    DeliverSections();
    return S_OK;
}

} // namespace libDVB
