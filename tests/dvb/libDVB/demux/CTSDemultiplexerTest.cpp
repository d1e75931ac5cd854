#include <gtest/gtest.h>

#include "Recorders.h"
#include "dvb/libDVB/demux/CTSDemultiplexer.h"
#include "dvb/libDVB/demux/CTSRelayStream.h"
#include "support/TSPacketBuilder.h"

using libDVB::CTSDemultiplexer;
using libDVB::CTSDemultiplexerStream;
using libDVB::CTSRelayStream;
using test::MakePacket;

namespace {

struct RouterFixture : ::testing::Test {
    CTSDemultiplexer router;
    test::CRecordingOwner owner;
    CTSRelayStream relay{&owner, 0x100};
    void SetUp() override { ASSERT_EQ(router.RegisterStream(&relay), S_OK); }
    void TearDown() override { router.UnregisterStream(0x100); }
};

} // namespace

TEST_F(RouterFixture, DeliversWholePacketsOfRegisteredPid)
{
    auto p = MakePacket(0x100, {1, 2, 3});
    EXPECT_EQ(router.DeliverPacket(p.data(), 188), S_OK);
    ASSERT_EQ(owner.received.size(), 1u);
    EXPECT_EQ(owner.received[0], std::vector<uint8_t>(p.begin(), p.end()));
    EXPECT_EQ(owner.flags[0], 0u);
}

TEST_F(RouterFixture, RefusesMalformedPackets)
{
    auto p = MakePacket(0x100, {});
    EXPECT_EQ(router.DeliverPacket(p.data(), 187), E_FAIL);
    EXPECT_EQ(router.DeliverPacket(nullptr, 188), E_FAIL);
    auto bad = p;
    bad[0] = 0x46;
    EXPECT_EQ(router.DeliverPacket(bad.data(), 188), E_FAIL);
    test::PacketOptions o;
    o.transportError = true;
    auto tei = MakePacket(0x100, {}, o);
    EXPECT_EQ(tei[1] & 0x80, 0x80);
    EXPECT_EQ(router.DeliverPacket(tei.data(), 188), E_FAIL);
    EXPECT_TRUE(owner.received.empty());
}

TEST_F(RouterFixture, UnroutedAndDisabledPidsAreNotHandled)
{
    auto other = MakePacket(0x101, {});
    EXPECT_EQ(router.DeliverPacket(other.data(), 188), S_FALSE);
    EXPECT_EQ(router.EnablePid(0x101), S_OK);
    EXPECT_EQ(router.EnablePid(0x101), S_FALSE);
    EXPECT_EQ(router.DeliverPacket(other.data(), 188), S_FALSE); // enabled, but no stream

    EXPECT_EQ(router.DisablePid(0x100), S_OK);
    EXPECT_EQ(router.DisablePid(0x100), S_FALSE);
    auto p = MakePacket(0x100, {});
    EXPECT_EQ(router.DeliverPacket(p.data(), 188), S_FALSE);
    EXPECT_EQ(router.EnablePid(0x100), S_OK);
    EXPECT_EQ(router.DeliverPacket(p.data(), 188), S_OK);
    EXPECT_EQ(owner.received.size(), 1u);
}

TEST_F(RouterFixture, SecondRegistrationForAPidIsRefused)
{
    test::CRecordingOwner second;
    CTSRelayStream again(&second, 0x100);
    EXPECT_EQ(router.RegisterStream(&again), E_INVALIDARG);
    EXPECT_EQ(router.RegisterStream(nullptr), E_INVALIDARG);
    CTSRelayStream outOfRange(&second, 0x2000);
    EXPECT_EQ(router.RegisterStream(&outOfRange), E_INVALIDARG);
    auto p = MakePacket(0x100, {});
    router.DeliverPacket(p.data(), 188);
    EXPECT_EQ(owner.received.size(), 1u);
    EXPECT_TRUE(second.received.empty());
}

TEST_F(RouterFixture, UnregisterHandsTheStreamBackAndDisables)
{
    CTSDemultiplexerStream* out = nullptr;
    EXPECT_EQ(router.UnregisterStream(0x100, &out), S_OK);
    EXPECT_EQ(out, &relay);
    EXPECT_FALSE(router.IsPidEnabled(0x100));
    router.EnablePid(0x200);
    out = &relay;
    EXPECT_EQ(router.UnregisterStream(0x200, &out), S_FALSE);
    EXPECT_EQ(out, nullptr);
    EXPECT_FALSE(router.IsPidEnabled(0x200));
}

TEST_F(RouterFixture, OwnerResultIsPassedBack)
{
    owner.result = E_INVALIDARG;
    auto p = MakePacket(0x100, {});
    EXPECT_EQ(router.DeliverPacket(p.data(), 188), E_INVALIDARG);
}

// A stream whose packets register another stream, as table callbacks do under the stream lock.
TEST(Router, StreamMayRegisterStreamsWhileRouting)
{
    CTSDemultiplexer router;
    test::CRecordingOwner late;
    CTSRelayStream second(&late, 0x300);
    struct Registering : libDVB::CTSDemultiplexerStream::CTSDemultiplexerStreamCallback {
        CTSDemultiplexer* router;
        CTSDemultiplexerStream* next;
        HRESULT OnStreamPacket(CTSDemultiplexerStream*, const uint8_t*, uint32_t, uint32_t) override
        {
            return router->RegisterStream(next);
        }
    } registering;
    registering.router = &router;
    registering.next = &second;
    CTSRelayStream first(&registering, 0x200);
    router.RegisterStream(&first);
    auto p = MakePacket(0x200, {});
    EXPECT_EQ(router.DeliverPacket(p.data(), 188), S_OK);
    auto q = MakePacket(0x300, {});
    EXPECT_EQ(router.DeliverPacket(q.data(), 188), S_OK);
    EXPECT_EQ(late.received.size(), 1u);
    router.UnregisterStream(0x200);
    router.UnregisterStream(0x300);
}

namespace {

std::vector<uint8_t> Packets(int count, uint16_t pid)
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < count; ++i) {
        test::PacketOptions o;
        o.continuity = static_cast<uint8_t>(i);
        auto p = MakePacket(pid, {static_cast<uint8_t>(i)}, o);
        bytes.insert(bytes.end(), p.begin(), p.end());
    }
    return bytes;
}

} // namespace

TEST_F(RouterFixture, InputBytesCutsPacketsAndCarriesTheTail)
{
    auto bytes = Packets(3, 0x100);
    EXPECT_EQ(router.InputBytes(bytes.data(), 187), S_FALSE);
    EXPECT_EQ(router.GetCarriedBytes(), 0u);
    EXPECT_TRUE(owner.received.empty());

    EXPECT_EQ(router.InputBytes(bytes.data(), 400), S_OK);
    EXPECT_EQ(owner.received.size(), 2u);
    EXPECT_EQ(router.GetCarriedBytes(), 24u);

    // The rest completes the carried packet (byte 164 of the new input is the next sync byte).
    auto more = Packets(4, 0x100);
    std::vector<uint8_t> next(bytes.begin() + 400, bytes.end());
    next.insert(next.end(), more.begin(), more.end());
    EXPECT_EQ(router.InputBytes(next.data(), static_cast<uint32_t>(next.size())), S_OK);
    ASSERT_EQ(owner.received.size(), 7u);
    EXPECT_EQ(owner.received[2][4], 2);
    EXPECT_EQ(router.GetCarriedBytes(), 0u);
}

TEST_F(RouterFixture, ShortInputLeavesTheCarryAlone)
{
    auto bytes = Packets(2, 0x100);
    router.InputBytes(bytes.data(), 188 + 100);
    EXPECT_EQ(router.GetCarriedBytes(), 100u);
    EXPECT_EQ(router.InputBytes(bytes.data() + 288, 50), S_FALSE);
    EXPECT_EQ(router.GetCarriedBytes(), 100u);
}

TEST_F(RouterFixture, CarryIsDroppedWhenTheNextInputDoesNotContinueIt)
{
    auto bytes = Packets(2, 0x100);
    router.InputBytes(bytes.data(), 188 + 100);
    ASSERT_EQ(router.GetCarriedBytes(), 100u);
    // Two garbage bytes, then whole packets: byte 88 is no sync byte, so the carry goes and the
    // input is resynchronised on the first 0x47.
    std::vector<uint8_t> next = {0x00, 0x11};
    auto fresh = Packets(2, 0x100);
    next.insert(next.end(), fresh.begin(), fresh.end());
    EXPECT_EQ(router.InputBytes(next.data(), static_cast<uint32_t>(next.size())), S_OK);
    ASSERT_EQ(owner.received.size(), 3u);
    EXPECT_EQ(owner.received[1][4], 0);
    EXPECT_EQ(owner.received[2][4], 1);
}

TEST_F(RouterFixture, InputWithoutSyncByteIsIgnored)
{
    std::vector<uint8_t> noise(500, 0x12);
    EXPECT_EQ(router.InputBytes(noise.data(), 500), S_FALSE);
    EXPECT_TRUE(owner.received.empty());
}

TEST_F(RouterFixture, ResynchronisesInsideTheInput)
{
    auto bytes = Packets(3, 0x100);
    bytes.insert(bytes.begin() + 188, {0x00, 0x01, 0x02}); // three stray bytes after packet 0
    EXPECT_EQ(router.InputBytes(bytes.data(), static_cast<uint32_t>(bytes.size())), S_OK);
    ASSERT_EQ(owner.received.size(), 3u);
    EXPECT_EQ(owner.received[2][4], 2);
}
