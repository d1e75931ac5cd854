#include "dvb/libDVB/demux/CTSRelayStream.h"

namespace libDVB {

HRESULT CTSRelayStream::OnPacket(const uint8_t* packet, uint32_t length)
{
    NoteScrambling(packet);
    return m_owner ? m_owner->OnStreamPacket(this, packet, length, 0) : S_FALSE;
}

} // namespace libDVB
