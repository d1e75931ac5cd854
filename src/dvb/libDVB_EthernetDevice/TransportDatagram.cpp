#include "dvb/libDVB_EthernetDevice/TransportDatagram.h"

#include "base/ByteReader.h"

namespace libDVB_EthernetDevice {

namespace {
constexpr size_t kPacketSize = 188;
constexpr uint8_t kSyncByte = 0x47;
constexpr unsigned kRtpVersion = 2;
constexpr unsigned kPayloadTypeMp2t = 33;
} // namespace

size_t RtpPayloadOffset(const uint8_t* data, size_t length)
{
    if (!data || length < 12 || data[0] == kSyncByte)
        return 0;
    // RFC 3550, 5.1: V(2) P(1) X(1) CC(4) | M(1) PT(7) | sequence | timestamp | SSRC | CSRC list.
    base::CByteReader header(data, length);
    const unsigned version = header.Bits(2);
    header.SkipBits(1);
    const bool extension = header.Bit();
    const unsigned csrcCount = header.Bits(4);
    header.SkipBits(1);
    const unsigned payloadType = header.Bits(7);
    if (version != kRtpVersion || payloadType != kPayloadTypeMp2t)
        return 0;
    header.Skip(10 + 4 * csrcCount);
    if (extension) {
        // RFC 3550, 5.3.1: profile-defined 16 bits, then the length in 32-bit words.
        header.Skip(2);
        header.Skip(4 * static_cast<size_t>(header.U16()));
    }
    return header.Overrun() ? 0 : header.Position();
}

size_t DeliverDatagram(libDVB::CTSDemultiplexer& router, const uint8_t* data, size_t length)
{
    const size_t offset = RtpPayloadOffset(data, length);
    if (!data || length < offset + kPacketSize)
        return 0;
    const size_t packets = (length - offset) / kPacketSize;
    for (size_t i = 0; i < packets; ++i)
        router.DeliverPacket(data + offset + i * kPacketSize, kPacketSize);
    return packets;
}

} // namespace libDVB_EthernetDevice
