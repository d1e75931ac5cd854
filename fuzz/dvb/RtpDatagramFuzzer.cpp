// Arbitrary datagrams through the RTP header reader and into a PID router with a relay.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "dvb/libDVB/demux/CTSRelayStream.h"
#include "dvb/libDVB_EthernetDevice/TransportDatagram.h"

namespace {
struct Sink : libDVB::CTSDemultiplexerStream::CTSDemultiplexerStreamCallback {
    uint64_t checksum = 0;
    HRESULT OnStreamPacket(libDVB::CTSDemultiplexerStream*, const uint8_t* data, uint32_t length, uint32_t) override
    {
        for (uint32_t i = 0; i < length; ++i)
            checksum += data[i];
        return S_OK;
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> datagram(data, data + size); // exact size, so ASan sees overreads
    const size_t offset = libDVB_EthernetDevice::RtpPayloadOffset(datagram.data(), datagram.size());
    if (offset > size)
        __builtin_trap();
    Sink sink;
    libDVB::CTSDemultiplexer router;
    libDVB::CTSRelayStream relay(&sink, 0x100);
    router.RegisterStream(&relay);
    libDVB_EthernetDevice::DeliverDatagram(router, datagram.data(), datagram.size());
    router.UnregisterStream(0x100);
    return 0;
}
