// A UDP datagram that carries MPEG transport-stream packets, either bare (ISO/IEC 13818-1 packets
// back to back) or behind an RTP header with payload type 33 (RFC 2250, RFC 3550).
#pragma once

#include <cstddef>
#include <cstdint>

#include "dvb/libDVB/demux/CTSDemultiplexer.h"

namespace libDVB_EthernetDevice {

// Length of the RTP header in front of the packets: 0 for a bare transport stream, any other RTP
// payload type, or an RTP header (with its CSRC list and extension) that does not fit the datagram.
size_t RtpPayloadOffset(const uint8_t* data, size_t length);

// Hands every whole 188-byte packet behind the header to the router; the tail of a datagram that is
// not a whole packet is dropped (nothing is carried into the next datagram). Returns the number
// of packets handed over.
size_t DeliverDatagram(libDVB::CTSDemultiplexer& router, const uint8_t* data, size_t length);

} // namespace libDVB_EthernetDevice
