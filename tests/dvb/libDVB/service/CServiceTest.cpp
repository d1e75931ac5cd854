#include <gtest/gtest.h>

#include "ServiceTestKit.h"
#include "base/Clock.h"

using namespace test;
using libDVB::CService;
using libDVB::CStream;

namespace {

struct ServiceFixture : ::testing::Test {
    CTestListener listener;
    CService service{&listener, nullptr, 7, 8, u"Seven"};
    void SetUp() override
    {
        service.AddStream(new CStream(CStream::kVideo, 0x100), false);
        service.AddStream(new libDVB::CAudioStream(0x101), false);
        listener.changes.clear();
    }
    HRESULT Packet(uint16_t pid, uint8_t scrambling = 0)
    {
        PacketOptions o;
        o.scrambling = scrambling;
        auto p = MakePacket(pid, {0x00}, o);
        return service.OnStreamPacket(nullptr, p.data(), 188, 0);
    }
};

} // namespace

TEST_F(ServiceFixture, NestedUpdatesReportOnceWithTheUnion)
{
    service.BeginUpdate();
    service.BeginUpdate();
    service.EndUpdate(0x01);
    EXPECT_TRUE(listener.changes.empty());
    service.EndUpdate(0x20);
    ASSERT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(listener.changes[0].mask, 0x21u);
    service.BeginUpdate();
    service.EndUpdate(0);
    EXPECT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(service.NotifyChanged(0x404), S_OK);
    EXPECT_EQ(listener.changes.back().mask, 0x404u);
}

TEST_F(ServiceFixture, StoppedDecodingDropsPacketsButNotesScrambling)
{
    EXPECT_TRUE(service.IsDecodingStopped());
    EXPECT_EQ(Packet(0x100, 2), S_FALSE);
    EXPECT_EQ(service.IsScrambled(), 1);
    EXPECT_EQ(Packet(0x100, 3), S_FALSE);
    ASSERT_EQ(listener.changes.size(), 1u); // reported once
    EXPECT_EQ(listener.changes[0].mask, 0x01u);
    EXPECT_TRUE(listener.packets.empty());
}

TEST_F(ServiceFixture, ActiveDecodingRoutesVideoAndAudioOnly)
{
    EXPECT_EQ(service.ActivateDecoding(), S_OK);
    EXPECT_EQ(service.ActivateDecoding(), S_FALSE);
    EXPECT_EQ(Packet(0x100), S_OK);
    EXPECT_EQ(Packet(0x101), S_OK);
    EXPECT_EQ(Packet(0x1FF), S_OK); // taken by the service, delivered to nobody
    EXPECT_EQ(listener.packets[0x100], 1);
    EXPECT_EQ(listener.packets[0x101], 1);
    EXPECT_EQ(listener.packets.count(0x1FF), 0u);

    auto zero = MakePacket(0, {});
    EXPECT_EQ(service.OnBufferedPacket(zero.data(), 188), E_FAIL);
    auto other = MakePacket(0x1FF, {});
    EXPECT_EQ(service.OnBufferedPacket(other.data(), 188), S_FALSE);

    EXPECT_EQ(service.DeactivateDecoding(), S_OK);
    EXPECT_EQ(service.DeactivateDecoding(), S_FALSE);
    EXPECT_EQ(Packet(0x100), S_FALSE);
    EXPECT_EQ(listener.packets[0x100], 1);
}

TEST_F(ServiceFixture, PresentEventFraction)
{
    // Through a device: an EIT present event that started 22.5 minutes ago and lasts 90 minutes.
    CTestListener owner;
    CTestEngine engine;
    engine.Start(&owner);
    engine.Feed(0, Pat(0x77, 0, {{1, 0x100}}));
    const int64_t start = base::UtcNow() - 1350;
    const int64_t days = start / 86400;
    const int secondOfDay = static_cast<int>(start % 86400);
    Bytes section = EitPresentFollowing(1, 0x77, 1, 0, 0, {{10, static_cast<uint16_t>(days + 40587), 0, "Now"}});
    const Bytes time = MjdTime(static_cast<uint16_t>(days + 40587), static_cast<uint8_t>(secondOfDay / 3600),
                               static_cast<uint8_t>(secondOfDay / 60 % 60), static_cast<uint8_t>(secondOfDay % 60));
    std::copy(time.begin(), time.end(), section.begin() + 16);
    FixCrc(section);
    engine.Feed(0x12, section);
    const CService::CEvent present = owner.Service(1)->GetPresentEvent();
    EXPECT_EQ(present.start, start);
    EXPECT_NEAR(present.fraction, 0.25f, 0.002f);
}

TEST_F(ServiceFixture, TimeshiftNeedsTheBufferOfThePlatform)
{
    // No buffer factory is installed in the neutral build: timeshift is refused, packets flow live.
    if (libDVB::CTSPacketBufferInterface::Create(nullptr))
        GTEST_SKIP() << "a platform buffer is installed";
    EXPECT_EQ(service.StartTimeshift(), E_FAIL);
    service.ActivateDecoding();
    EXPECT_EQ(Packet(0x101), S_OK);
    EXPECT_EQ(listener.packets[0x101], 1);
}
