#include <gtest/gtest.h>

#include <algorithm>

#include "Recorders.h"
#include "dvb/libDVB/demux/CTSDemultiplexer.h"
#include "dvb/libDVB/demux/CTSRelayStream.h"
#include "support/TSPacketBuilder.h"
#include "support/TestMedia.h"

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
    EXPECT_EQ(router.InputBytes(bytes.data(), 400), S_OK);
    EXPECT_EQ(owner.received.size(), 2u);
    EXPECT_EQ(router.GetCarriedBytes(), 24u);

    // The rest completes the carried packet; the last packet waits for the sync byte after it.
    auto more = Packets(4, 0x100);
    std::vector<uint8_t> next(bytes.begin() + 400, bytes.end());
    next.insert(next.end(), more.begin(), more.end());
    EXPECT_EQ(router.InputBytes(next.data(), static_cast<uint32_t>(next.size())), S_OK);
    ASSERT_EQ(owner.received.size(), 6u);
    EXPECT_EQ(owner.received[2][4], 2);
    EXPECT_EQ(owner.received[5][4], 2);
    EXPECT_EQ(router.GetCarriedBytes(), 188u);
}

TEST_F(RouterFixture, InputsShorterThanAPacketAreCarried)
{
    auto bytes = Packets(3, 0x100);
    EXPECT_EQ(router.InputBytes(bytes.data(), 187), S_FALSE);
    EXPECT_EQ(router.GetCarriedBytes(), 187u);
    EXPECT_EQ(router.InputBytes(bytes.data() + 187, 2), S_OK); // byte 188 confirms packet 0
    ASSERT_EQ(owner.received.size(), 1u);
    EXPECT_EQ(owner.received[0], std::vector<uint8_t>(bytes.begin(), bytes.begin() + 188));
    EXPECT_EQ(router.GetCarriedBytes(), 1u);
}

TEST_F(RouterFixture, ChunksOfAnySizeLoseNoPacket)
{
    auto bytes = Packets(400, 0x100);
    test::CTestRandom random(7);
    size_t offset = 0;
    while (offset < bytes.size()) {
        const size_t n = std::min<size_t>(1 + random.Below(400), bytes.size() - offset);
        router.InputBytes(&bytes[offset], static_cast<uint32_t>(n));
        offset += n;
    }
    // Every packet but the last, whose confirming sync byte has not come yet; the end of the input
    // releases it.
    ASSERT_EQ(owner.received.size(), 399u);
    EXPECT_EQ(router.GetCarriedBytes(), 188u);
    EXPECT_EQ(router.EndInput(), S_OK);
    ASSERT_EQ(owner.received.size(), 400u);
    for (size_t i = 0; i < owner.received.size(); ++i)
        ASSERT_EQ(owner.received[i], std::vector<uint8_t>(&bytes[i * 188], &bytes[i * 188] + 188)) << i;
    EXPECT_EQ(router.GetCarriedBytes(), 0u);
    EXPECT_EQ(router.EndInput(), S_FALSE);
}

// What the end of an input releases: only a whole carried packet whose sync byte confirmed the
// packet before it, not a lone 0x47 in garbage nor a cut tail.
TEST_F(RouterFixture, TheEndOfAnInputReleasesOnlyAWholePacketInSync)
{
    const auto two = Packets(2, 0x100);
    std::vector<uint8_t> stray(300, 0x00);
    std::copy(two.begin() + 188, two.end(), stray.end() - 188); // a packet behind garbage, unconfirmed
    const struct {
        const char* name;
        std::vector<uint8_t> input;
        size_t routedAtTheEnd;
    } cases[] = {
        {"two packets", two, 1},
        {"a cut tail", std::vector<uint8_t>(two.begin(), two.end() - 1), 0},
        {"a packet behind garbage", stray, 0},
        {"one packet alone", std::vector<uint8_t>(two.begin(), two.begin() + 188), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        owner.received.clear();
        router.InputBytes(c.input.data(), static_cast<uint32_t>(c.input.size()));
        const size_t before = owner.received.size();
        EXPECT_EQ(router.EndInput(), c.routedAtTheEnd ? S_OK : S_FALSE);
        EXPECT_EQ(owner.received.size() - before, c.routedAtTheEnd);
        EXPECT_EQ(router.GetCarriedBytes(), 0u);
    }
}

// A retune: the old multiplex's last packet waits in the carry when the new input begins with a
// sync byte that would confirm it. Starting the input again drops it.
TEST_F(RouterFixture, AnInputStartedAgainRoutesNoPacketOfTheOldOne)
{
    auto old = Packets(3, 0x100);
    for (size_t i = 4; i < old.size(); i += 188)
        old[i] = 0xAA; // marks the old multiplex
    router.InputBytes(old.data(), static_cast<uint32_t>(old.size()));
    ASSERT_EQ(owner.received.size(), 2u);
    router.StartInput();
    EXPECT_EQ(router.GetCarriedBytes(), 0u);
    const auto fresh = Packets(3, 0x100);
    router.InputBytes(fresh.data(), static_cast<uint32_t>(fresh.size()));
    router.EndInput();
    ASSERT_EQ(owner.received.size(), 5u);
    for (size_t i = 2; i < owner.received.size(); ++i)
        EXPECT_EQ(owner.received[i], std::vector<uint8_t>(&fresh[(i - 2) * 188], &fresh[(i - 2) * 188] + 188)) << i;
}

TEST_F(RouterFixture, CarryIsDroppedWhenTheNextInputDoesNotContinueIt)
{
    auto bytes = Packets(2, 0x100);
    router.InputBytes(bytes.data(), 188 + 100);
    ASSERT_EQ(router.GetCarriedBytes(), 100u);
    ASSERT_EQ(owner.received.size(), 1u);
    // Two garbage bytes, then whole packets: the carried packet finds no sync byte behind it, so it
    // goes and the input is resynchronised on the first confirmed 0x47.
    std::vector<uint8_t> next = {0x00, 0x11};
    auto fresh = Packets(2, 0x100);
    next.insert(next.end(), fresh.begin(), fresh.end());
    EXPECT_EQ(router.InputBytes(next.data(), static_cast<uint32_t>(next.size())), S_OK);
    ASSERT_EQ(owner.received.size(), 2u);
    EXPECT_EQ(owner.received[1], std::vector<uint8_t>(fresh.begin(), fresh.begin() + 188));
    EXPECT_EQ(router.GetCarriedBytes(), 188u);
}

TEST_F(RouterFixture, InputWithoutSyncByteIsIgnored)
{
    std::vector<uint8_t> noise(500, 0x12);
    EXPECT_EQ(router.InputBytes(noise.data(), 500), S_FALSE);
    EXPECT_TRUE(owner.received.empty());
    EXPECT_EQ(router.GetCarriedBytes(), 0u);
}

TEST_F(RouterFixture, ResynchronisesInsideTheInput)
{
    auto bytes = Packets(4, 0x100);
    bytes.insert(bytes.begin() + 188, {0x00, 0x01, 0x02}); // three stray bytes after packet 0
    EXPECT_EQ(router.InputBytes(bytes.data(), static_cast<uint32_t>(bytes.size())), S_OK);
    // Packet 0 lost the sync byte behind it; packets 1 and 2 are confirmed, 3 waits.
    ASSERT_EQ(owner.received.size(), 2u);
    EXPECT_EQ(owner.received[0][4], 1);
    EXPECT_EQ(owner.received[1][4], 2);
}

// Garbage runs full of 0x47 (many followed by a plausible header of another PID) between real
// packets: only the packet that each run cuts off from its successor is lost, and nothing is
// routed that was never sent.
TEST_F(RouterFixture, SyncBytesInGarbageInventNoPacket)
{
    test::CRecordingOwner otherOwner;
    CTSRelayStream other(&otherOwner, 0x200);
    ASSERT_EQ(router.RegisterStream(&other), S_OK);

    test::CTestRandom random(20261209);
    std::vector<uint8_t> stream;
    std::vector<bool> garbage;
    std::vector<size_t> starts;
    std::vector<bool> cutOff;
    for (int i = 0; i < 300; ++i) {
        test::PacketOptions o;
        o.continuity = static_cast<uint8_t>(i);
        std::vector<uint8_t> payload(20, static_cast<uint8_t>(i));
        payload[1 + i % 17] = 0x47; // sync bytes inside payloads too
        auto p = MakePacket(0x100, payload, o);
        starts.push_back(stream.size());
        stream.insert(stream.end(), p.begin(), p.end());
        garbage.insert(garbage.end(), 188, false);
        const bool damage = i % 5 == 4;
        cutOff.push_back(damage);
        if (damage) {
            const uint32_t n = 1 + random.Below(400);
            for (uint32_t k = 0; k < n; ++k) {
                static const uint8_t header[] = {0x47, 0x02, 0x00, 0x10};
                stream.push_back(random.Below(3) == 0 ? header[k % 4] : static_cast<uint8_t>(random.Below(256)));
                garbage.push_back(true);
            }
        }
    }
    // A sync byte confirmed by another 188 bytes later would be indistinguishable from a packet:
    // keep the garbage free of such pairs, as a real error burst almost always is.
    for (size_t g = 0; g + 188 < stream.size(); ++g) {
        if (stream[g] == 0x47 && stream[g + 188] == 0x47 && (garbage[g] || garbage[g + 188]))
            stream[garbage[g] ? g : g + 188] = 0x48;
    }
    // Any 0x47 pair left that is not two packet starts lies in payloads: move it.
    for (size_t g = 0; g + 188 < stream.size(); ++g) {
        if (stream[g] == 0x47 && stream[g + 188] == 0x47
            && std::find(starts.begin(), starts.end(), g) == starts.end()) {
            const bool secondIsStart = std::find(starts.begin(), starts.end(), g + 188) != starts.end();
            stream[secondIsStart ? g : g + 188] = 0x48;
        }
    }

    size_t offset = 0;
    while (offset < stream.size()) {
        const size_t n = std::min<size_t>(1 + random.Below(400), stream.size() - offset);
        router.InputBytes(&stream[offset], static_cast<uint32_t>(n));
        offset += n;
    }

    std::vector<std::vector<uint8_t>> expected;
    for (size_t i = 0; i + 1 < starts.size(); ++i) {
        if (!cutOff[i])
            expected.emplace_back(&stream[starts[i]], &stream[starts[i]] + 188);
    }
    EXPECT_EQ(owner.received.size(), expected.size());
    EXPECT_TRUE(owner.received == expected);
    EXPECT_TRUE(otherOwner.received.empty());
    router.UnregisterStream(0x200);
}
