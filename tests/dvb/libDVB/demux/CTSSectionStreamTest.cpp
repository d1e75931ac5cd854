#include <gtest/gtest.h>

#include "Recorders.h"
#include "dvb/libDVB/demux/CTSDemultiplexerStream.h"
#include "dvb/libDVB/demux/CTSSectionStream.h"
#include "support/TSPacketBuilder.h"
#include "support/TestMedia.h"

using libDVB::CTSSectionStream;
using test::MakeLongSection;
using test::MakePacket;
using test::PacketizeSections;

namespace {

std::vector<uint8_t> Body(size_t n, uint8_t seed)
{
    std::vector<uint8_t> b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = static_cast<uint8_t>(seed + i);
    return b;
}

struct SectionFixture : ::testing::Test {
    test::CRecordingOwner owner;
    CTSSectionStream stream{&owner, 0x12};
    uint8_t cc = 0;
    HRESULT Feed(const test::TSPacket& p) { return stream.OnPacket(p.data(), 188); }
};

} // namespace

TEST_F(SectionFixture, SmallSectionThenStuffingIsDeliveredOnce)
{
    auto pat = MakeLongSection(0x00, 1, 0, 0, 0, {0x00, 0x01, 0xE1, 0x00}); // 16 bytes
    ASSERT_EQ(pat.size(), 16u);
    auto packets = PacketizeSections(0x12, {pat}, cc);
    ASSERT_EQ(packets.size(), 1u);
    EXPECT_EQ(Feed(packets[0]), S_OK);
    ASSERT_EQ(owner.received.size(), 1u);
    EXPECT_EQ(owner.received[0], pat);
    EXPECT_EQ(stream.GetPendingBytes(), 0u);
}

TEST_F(SectionFixture, LongSectionIsDeliveredWithItsLastPacket)
{
    auto eit = MakeLongSection(0x4E, 7, 1, 0, 0, Body(1000 - 12, 3));
    ASSERT_EQ(eit.size(), 1000u);
    auto packets = PacketizeSections(0x12, {eit}, cc);
    ASSERT_EQ(packets.size(), 6u);
    for (size_t i = 0; i + 1 < packets.size(); ++i) {
        EXPECT_EQ(Feed(packets[i]), S_OK);
        EXPECT_TRUE(owner.received.empty()) << "delivered early at packet " << i;
    }
    Feed(packets.back());
    ASSERT_EQ(owner.received.size(), 1u);
    EXPECT_EQ(owner.received[0], eit);
}

TEST_F(SectionFixture, BackToBackSectionsAreEachDeliveredOnce)
{
    auto first = MakeLongSection(0x42, 1, 0, 0, 1, Body(100, 1));
    auto second = MakeLongSection(0x42, 1, 0, 1, 1, Body(150, 9));
    auto packets = PacketizeSections(0x12, {first, second}, cc);
    ASSERT_EQ(packets.size(), 2u);
    Feed(packets[0]);
    ASSERT_EQ(owner.received.size(), 1u);
    EXPECT_EQ(owner.received[0], first);
    Feed(packets[1]);
    ASSERT_EQ(owner.received.size(), 2u);
    EXPECT_EQ(owner.received[1], second);
}

TEST_F(SectionFixture, ContinuationBeforeAnyStartIsDropped)
{
    test::PacketOptions o;
    EXPECT_EQ(Feed(MakePacket(0x12, Body(184, 0), o)), S_FALSE);
    EXPECT_TRUE(owner.received.empty());
}

TEST_F(SectionFixture, PointerFieldCompletesThePendingSection)
{
    auto a = MakeLongSection(0x42, 1, 0, 0, 1, Body(250, 1));
    auto b = MakeLongSection(0x42, 1, 0, 1, 1, Body(20, 2));
    // Packet 1: start of a; packet 2: continuation of a; packet 3: pointer_field -> rest of a, then b.
    // pointer_field 0, then the section's first 183 bytes.
    std::vector<uint8_t> first(a.begin(), a.begin() + 183);
    first.insert(first.begin(), 0x00);
    std::vector<uint8_t> second(a.begin() + 183, a.begin() + 183 + 50);
    const size_t rest = a.size() - 233;
    // pointer_field: the rest of a, then b.
    std::vector<uint8_t> third(a.begin() + 233, a.end());
    third.insert(third.begin(), static_cast<uint8_t>(rest));
    third.insert(third.end(), b.begin(), b.end());
    test::PacketOptions start;
    start.payloadUnitStart = true;
    test::PacketOptions cont;
    cont.continuity = 1;
    Feed(MakePacket(0x12, first, start));
    // Packet 2 carries exactly 50 bytes behind an adaptation field.
    cont.adaptationLength = 184 - 50 - 1;
    Feed(MakePacket(0x12, second, cont));
    EXPECT_TRUE(owner.received.empty());
    start.continuity = 2;
    Feed(MakePacket(0x12, third, start));
    ASSERT_EQ(owner.received.size(), 2u);
    EXPECT_EQ(owner.received[0], a);
    EXPECT_EQ(owner.received[1], b);
}

TEST_F(SectionFixture, SectionHeaderSplitAcrossPacketsIsKept)
{
    auto a = MakeLongSection(0x42, 1, 0, 0, 1, Body(183 - 2 - 12, 1)); // leaves 2 bytes in packet 1
    auto b = MakeLongSection(0x42, 1, 0, 1, 1, Body(30, 5));
    auto packets = PacketizeSections(0x12, {a, b}, cc);
    ASSERT_EQ(packets.size(), 2u);
    Feed(packets[0]);
    ASSERT_EQ(owner.received.size(), 1u);
    EXPECT_EQ(stream.GetPendingBytes(), 2u);
    Feed(packets[1]);
    ASSERT_EQ(owner.received.size(), 2u);
    EXPECT_EQ(owner.received[1], b);
}

TEST_F(SectionFixture, PointerFieldPastThePayloadDropsTheStart)
{
    auto a = MakeLongSection(0x42, 1, 0, 0, 0, Body(300, 1));
    auto packets = PacketizeSections(0x12, {a}, cc);
    Feed(packets[0]);
    ASSERT_GT(stream.GetPendingBytes(), 0u);
    test::PacketOptions o;
    o.payloadUnitStart = true;
    o.adaptationLength = 100; // 83 payload bytes: pointer 200 lies
    std::vector<uint8_t> payload(83, 0x42);
    payload[0] = 200;
    EXPECT_EQ(Feed(MakePacket(0x12, payload, o)), E_FAIL);
    EXPECT_EQ(stream.GetPendingBytes(), 0u);
    EXPECT_TRUE(owner.received.empty());
}

TEST_F(SectionFixture, AdaptationFieldFillingThePacketCarriesNoPayload)
{
    auto pat = MakeLongSection(0x00, 1, 0, 0, 0, {0x00, 0x01, 0xE1, 0x00});
    auto packets = PacketizeSections(0x12, {pat}, cc);
    // adaptation_field_control 3 with a length that runs past the packet: no payload, no read.
    auto p = packets[0];
    p[3] = static_cast<uint8_t>((p[3] & 0xCF) | 0x30);
    p[4] = 200;
    EXPECT_EQ(Feed(p), S_OK);
    p[4] = 183; // exactly fills the packet
    EXPECT_EQ(Feed(p), S_OK);
    EXPECT_TRUE(owner.received.empty());
    EXPECT_EQ(stream.GetPendingBytes(), 0u);
}

TEST_F(SectionFixture, PendingBytesStayBoundedUnderGarbage)
{
    // Whatever the payload says, at most one incomplete section (<= 4098 bytes) waits.
    test::CTestRandom random(7);
    test::PacketOptions start;
    start.payloadUnitStart = true;
    Feed(MakePacket(0x12, {0x00, 0x50, 0xBF, 0xFF}, start));
    test::PacketOptions cont;
    for (int i = 0; i < 2000; ++i) {
        std::vector<uint8_t> junk(184);
        for (auto& b : junk)
            b = static_cast<uint8_t>(random.Next() & 0x7F); // never stuffing
        cont.continuity = static_cast<uint8_t>(i + 1);
        Feed(MakePacket(0x12, junk, cont));
        ASSERT_LE(stream.GetPendingBytes(), 4098u + 184u);
    }
    for (const auto& section : owner.received) {
        ASSERT_GE(section.size(), 3u);
        EXPECT_EQ(section.size(), 3u + (((section[1] & 0x0F) << 8) | section[2]));
    }
}

TEST(Continuity, BreakSetsTheFlagAndResynchronises)
{
    test::CRecordingOwner owner;
    libDVB::CTSDemultiplexerStream stream(&owner, 0x20);
    test::PacketOptions o;
    for (uint8_t c : {5, 6, 7}) {
        o.continuity = c;
        auto p = MakePacket(0x20, {}, o);
        stream.OnPacket(p.data(), 188);
    }
    EXPECT_EQ(stream.GetLastContinuityCounter(), 7);
    EXPECT_FALSE(stream.HadDiscontinuity());
    o.continuity = 9;
    o.scrambling = 2;
    auto p = MakePacket(0x20, {}, o);
    stream.OnPacket(p.data(), 188);
    EXPECT_TRUE(stream.HadDiscontinuity());
    EXPECT_EQ(stream.GetLastContinuityCounter(), -1);
    EXPECT_EQ(stream.GetScrambling(), 2u);
    o.continuity = 3;
    auto q = MakePacket(0x20, {}, o);
    stream.OnPacket(q.data(), 188);
    EXPECT_EQ(stream.GetLastContinuityCounter(), 3);
    o.continuity = 15;
    for (uint8_t c : {4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0}) {
        o.continuity = c;
        auto r = MakePacket(0x20, {}, o);
        stream.OnPacket(r.data(), 188);
    }
    EXPECT_EQ(stream.GetLastContinuityCounter(), 0); // wraps 15 -> 0
}
