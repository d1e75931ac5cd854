// Transport-stream packets in UDP datagrams, bare or behind RTP headers (RFC 3550) of every shape.
#include <gtest/gtest.h>

#include <vector>

#include "dvb/libDVB/demux/CTSRelayStream.h"
#include "dvb/libDVB_EthernetDevice/TransportDatagram.h"

using libDVB_EthernetDevice::DeliverDatagram;
using libDVB_EthernetDevice::RtpPayloadOffset;

namespace {

struct Counter : libDVB::CTSDemultiplexerStream::CTSDemultiplexerStreamCallback {
    int packets = 0;
    HRESULT OnStreamPacket(libDVB::CTSDemultiplexerStream*, const uint8_t*, uint32_t, uint32_t) override
    {
        ++packets;
        return S_OK;
    }
};

// An RTP header (version 2) with `csrcs` CSRC entries and, when `extensionWords` >= 0, an
// extension of that many words, followed by `packets` packets on PID 0x100.
std::vector<uint8_t> Datagram(int payloadType, int csrcs, int extensionWords, int packets, size_t tail = 0)
{
    std::vector<uint8_t> d;
    if (payloadType >= 0) {
        d = {static_cast<uint8_t>(0x80 | (extensionWords >= 0 ? 0x10 : 0) | csrcs), static_cast<uint8_t>(payloadType),
             0x12, 0x34, 0, 0, 0, 1, 0xAA, 0xBB, 0xCC, 0xDD};
        d.resize(d.size() + 4 * csrcs, 0x11);
        if (extensionWords >= 0) {
            d.insert(d.end(), {0xBE, 0xDE, 0, static_cast<uint8_t>(extensionWords)});
            d.resize(d.size() + 4 * extensionWords, 0x22);
        }
    }
    for (int i = 0; i < packets; ++i) {
        std::vector<uint8_t> p(188, 0xFF);
        p[0] = 0x47, p[1] = 0x01, p[2] = 0x00, p[3] = static_cast<uint8_t>(0x10 | (i & 15));
        d.insert(d.end(), p.begin(), p.end());
    }
    d.resize(d.size() + tail, 0x47);
    return d;
}

struct Routed {
    Counter counter;
    libDVB::CTSDemultiplexer router;
    libDVB::CTSRelayStream relay{&counter, 0x100};
    Routed() { router.RegisterStream(&relay); }
    ~Routed() { router.UnregisterStream(0x100); }
    int Deliver(const std::vector<uint8_t>& d)
    {
        DeliverDatagram(router, d.data(), d.size());
        return counter.packets;
    }
};

} // namespace

TEST(TransportDatagram, BareAndRtpDatagramsDeliverEveryWholePacket)
{
    EXPECT_EQ(Routed().Deliver(Datagram(-1, 0, -1, 7)), 7);
    const auto rtp = Datagram(33, 0, -1, 7);
    EXPECT_EQ(rtp.size(), 1328u);
    EXPECT_EQ(RtpPayloadOffset(rtp.data(), rtp.size()), 12u);
    EXPECT_EQ(Routed().Deliver(rtp), 7);
    // The tail that is not a whole packet is dropped; fewer than 188 bytes deliver nothing.
    EXPECT_EQ(Routed().Deliver(Datagram(33, 0, -1, 7, 187)), 7);
    EXPECT_EQ(Routed().Deliver(Datagram(33, 0, -1, 0, 187)), 0);
}

TEST(TransportDatagram, OtherPayloadTypesAndVersionsHaveNoHeader)
{
    // Payload type 14 (MPEG audio): read as bare, so the first "packet" lacks its sync byte.
    const auto pt14 = Datagram(14, 0, -1, 7);
    EXPECT_EQ(RtpPayloadOffset(pt14.data(), pt14.size()), 0u);
    EXPECT_EQ(Routed().Deliver(pt14), 0);
    auto v1 = Datagram(33, 0, -1, 1);
    v1[0] = 0x40;
    EXPECT_EQ(RtpPayloadOffset(v1.data(), v1.size()), 0u);
    const uint8_t eleven[11] = {0x80, 33};
    EXPECT_EQ(RtpPayloadOffset(eleven, sizeof eleven), 0u);
    EXPECT_EQ(RtpPayloadOffset(nullptr, 100), 0u);
}

TEST(TransportDatagram, CsrcListAndExtensionLengthenTheHeader)
{
    const auto d = Datagram(33, 1, 1, 7);
    EXPECT_EQ(RtpPayloadOffset(d.data(), d.size()), 24u);
    EXPECT_EQ(Routed().Deliver(d), 7);
    const auto full = Datagram(33, 15, 3, 2);
    EXPECT_EQ(RtpPayloadOffset(full.data(), full.size()), 12u + 60 + 4 + 12);
    EXPECT_EQ(Routed().Deliver(full), 2);
}

TEST(TransportDatagram, HeaderLongerThanTheDatagramIsNoHeader)
{
    // The extension length word would lie behind the end: an exact-size heap copy lets ASan see
    // any read of it.
    const auto whole = Datagram(33, 1, 0, 0);
    for (size_t cut : {size_t(12 + 4 + 2), size_t(12 + 4 + 3)}) {
        const std::vector<uint8_t> shortened(whole.begin(), whole.begin() + cut);
        EXPECT_EQ(RtpPayloadOffset(shortened.data(), shortened.size()), 0u) << cut;
    }
    // The extension claims more words than the datagram holds.
    auto lying = Datagram(33, 0, 0, 1);
    lying[14] = 0xFF, lying[15] = 0xFF;
    EXPECT_EQ(RtpPayloadOffset(lying.data(), lying.size()), 0u);
    // Fifteen CSRCs announced in a 40-byte datagram.
    std::vector<uint8_t> claimed(40, 0);
    claimed[0] = 0x8F, claimed[1] = 33;
    EXPECT_EQ(RtpPayloadOffset(claimed.data(), claimed.size()), 0u);
}
