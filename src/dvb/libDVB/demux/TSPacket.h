// Transport-stream packet layout helpers (ISO/IEC 13818-1, 2.4.3.2).
#pragma once

#include <cstdint>

namespace libDVB {

constexpr uint32_t kTSPacketSize = 188;
constexpr uint8_t kTSSyncByte = 0x47;
constexpr uint16_t kPidCount = 0x2000;

inline uint16_t TSPacketPid(const uint8_t* packet)
{
    return static_cast<uint16_t>(((packet[1] & 0x1F) << 8) | packet[2]);
}

inline bool TSPayloadUnitStart(const uint8_t* packet) { return (packet[1] & 0x40) != 0; }
inline uint8_t TSScramblingControl(const uint8_t* packet) { return packet[3] >> 6; }
inline uint8_t TSContinuityCounter(const uint8_t* packet) { return packet[3] & 0x0F; }

// Offset of the payload in a 188-byte packet, or 0 when the packet carries none: no payload flag,
// or an adaptation field that fills (or claims more than) the whole packet.
inline uint32_t TSPayloadOffset(const uint8_t* packet)
{
    const unsigned control = (packet[3] >> 4) & 3;
    if (control == 0 || control == 2)
        return 0;
    if (control == 1)
        return 4;
    const uint32_t offset = 4 + 1 + packet[4];
    return offset < kTSPacketSize ? offset : 0;
}

} // namespace libDVB
