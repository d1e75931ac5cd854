#include "dvb/libDVB/demux/CTSDemultiplexerStream.h"

#include "dvb/libDVB/demux/TSPacket.h"

namespace libDVB {

CTSDemultiplexerStream::CTSDemultiplexerStream(CTSDemultiplexerStreamCallback* owner, uint16_t pid)
    : m_pid(pid), m_owner(owner)
{
}

void CTSDemultiplexerStream::NoteScrambling(const uint8_t* packet)
{
    m_scrambling = TSScramblingControl(packet);
}

HRESULT CTSDemultiplexerStream::OnPacket(const uint8_t* packet, uint32_t length)
{
    NoteScrambling(packet);
    const int32_t counter = TSContinuityCounter(packet);
    if (m_lastContinuity < 0) {
        m_lastContinuity = counter;
    } else if (counter == ((m_lastContinuity + 1) & 0x0F)) {
        m_lastContinuity = counter;
    } else {
        // Resynchronise on the next packet.
        m_discontinuity = 1;
        m_lastContinuity = -1;
    }
    return S_OK;
}

} // namespace libDVB
