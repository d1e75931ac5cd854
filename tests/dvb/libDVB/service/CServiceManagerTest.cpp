#include <gtest/gtest.h>

#include <algorithm>

#include "ServiceTestKit.h"

using namespace test;
using libDVB::CAudioStream;
using libDVB::CService;
using libDVB::CStream;
using libDVB::CSubtitleStream;

namespace {

struct ManagerFixture : ::testing::Test {
    CTestListener listener;
    CTestEngine engine;
    void SetUp() override { ASSERT_EQ(engine.Start(&listener), S_OK); }
    libDVB::CServiceManager& Manager() { return engine.GetServiceManager(); }
    bool Routed(uint16_t pid) { return engine.GetRouter().IsPidEnabled(pid); }
    std::vector<uint16_t> Relays() { return Manager().GetRelayPids(); }
};

} // namespace

TEST_F(ManagerFixture, ProgramZeroOnlyNamesTheNetwork)
{
    engine.Feed(0, Pat(0x101, 0, {{0, 0x10}, {5, 0x100}}));
    EXPECT_EQ(Manager().GetRecordCount(), 1u);
    EXPECT_EQ(listener.added, std::vector<uint16_t>{5});
    EXPECT_EQ(Manager().GetTransportStreamId(), 0x101);
    EXPECT_TRUE(Manager().PATEvent().IsSet());
    EXPECT_TRUE(Routed(0x100)); // its PMT
    EXPECT_FALSE(Routed(0x10));
    ASSERT_NE(listener.Service(5), nullptr);
    EXPECT_EQ(listener.Service(5)->GetReceptionState(), CService::kListed);
    EXPECT_EQ(listener.Service(5)->GetServiceManager(), &Manager());
}

TEST_F(ManagerFixture, VideoAndTwoAudioStreamsMakeATvServiceWithSeveralAudio)
{
    engine.Feed(0, Pat(1, 0, {{1, 0x100}}));
    engine.Feed(0x100, Pmt(1, 0, 0x200, {{0x02, 0x200, {}}, {0x03, 0x201, Language("eng")}, {0x04, 0x202, Language("DEU")}}));
    CService* s = listener.Service(1);
    EXPECT_EQ(s->GetServiceType(), CService::kTV);
    EXPECT_EQ(s->HasSeveralAudioStreams(), 1);
    EXPECT_EQ(s->GetReceptionState(), CService::kReceived);
    EXPECT_EQ(s->GetAudioStream()->pid, 0x201);
    std::vector<CAudioStream> audio;
    s->GetAudioStreams(audio);
    ASSERT_EQ(audio.size(), 2u);
    EXPECT_EQ(std::string(audio[1].language, audio[1].language + 3), "DEU");
    EXPECT_EQ(Relays(), (std::vector<uint16_t>{0x200, 0x201, 0x202}));
    EXPECT_TRUE(Manager().AllPMTEvent().IsSet());
}

TEST_F(ManagerFixture, StreamKindsFollowTypesAndDescriptors)
{
    engine.Feed(0, Pat(1, 0, {{1, 0x100}, {2, 0x101}}));
    engine.Feed(0x100, Pmt(1, 0, 0x300, {{0x04, 0x300, {}}}));
    EXPECT_EQ(listener.Service(1)->GetServiceType(), CService::kRadio);
    EXPECT_FALSE(Manager().AllPMTEvent().IsSet()); // program 2 has no PMT yet

    // An AC-3 descriptor wins over the teletext descriptor of the same stream.
    const Bytes both = Cat({Ac3(), Teletext({{"eng", 1, 1, 0x00}})});
    engine.Feed(0x101, Pmt(2, 0, 0x400, {{0x06, 0x400, both}, {0x06, 0x401, Subtitling("fin")}, {0x05, 0x402, {}}}));
    CService* s = listener.Service(2);
    EXPECT_EQ(s->HasTeletext(), 0);
    EXPECT_EQ(s->HasSubtitles(), 1);
    EXPECT_EQ(s->GetStreamCount(), 2u); // private sections (0x05) are not a stream
    EXPECT_NE(s->FindStream(0x400, CStream::kAudio), nullptr);
    std::vector<CSubtitleStream> subtitles;
    s->GetSubtitleStreams(subtitles);
    ASSERT_EQ(subtitles.size(), 1u);
    EXPECT_EQ(std::string(subtitles[0].language, subtitles[0].language + 3), "fin");
    EXPECT_FALSE(Routed(0x402));
    EXPECT_TRUE(Manager().AllPMTEvent().IsSet());
}

TEST_F(ManagerFixture, TeletextPagesAndSubtitlePages)
{
    engine.Feed(0, Pat(1, 0, {{1, 0x100}}));
    engine.Feed(0x100, Pmt(1, 0, 0x200, {{0x06, 0x500, Teletext({{"slk", 2, 0, 0x50}, {"cze", 5, 7, 0x77}})}}));
    CService* s = listener.Service(1);
    EXPECT_EQ(s->HasTeletext(), 1);
    EXPECT_EQ(s->HasSubtitles(), 1);
    const auto* teletext = s->GetTeletextStream();
    ASSERT_NE(teletext, nullptr);
    EXPECT_EQ(teletext->entries[2].page, 850); // magazine 0 is magazine 8
    EXPECT_EQ(teletext->entries[5].page, 777);
    EXPECT_EQ(teletext->InitialPage(), 100); // no initial-page entry
    EXPECT_EQ(std::string(teletext->Language(), teletext->Language() + 3), "cze");
    std::vector<CSubtitleStream> subtitles;
    s->GetSubtitleStreams(subtitles);
    ASSERT_EQ(subtitles.size(), 2u);
    EXPECT_EQ(subtitles[0].teletext, 1);
    EXPECT_EQ(subtitles[0].page, 850);
    EXPECT_EQ(subtitles[1].page, 777);
    EXPECT_EQ(Relays(), std::vector<uint16_t>{0x500});
}

TEST_F(ManagerFixture, PmtVersionsAddRemoveAndReplaceRelays)
{
    engine.Feed(0, Pat(1, 0, {{1, 0x100}, {2, 0x101}}));
    engine.Feed(0x100, Pmt(1, 0, 0x200, {{0x02, 0x200, {}}, {0x03, 0x201, {}}}));
    engine.Feed(0x101, Pmt(2, 0, 0x300, {{0x02, 0x300, {}}, {0x03, 0x201, {}}})); // shares audio 0x201
    EXPECT_EQ(Relays(), (std::vector<uint16_t>{0x200, 0x201, 0x300}));

    // Program 1 replaces its audio and drops nothing else; the shared PID stays for program 2.
    engine.Feed(0x100, Pmt(1, 1, 0x200, {{0x02, 0x200, {}}, {0x03, 0x202, {}}}));
    EXPECT_EQ(Relays(), (std::vector<uint16_t>{0x200, 0x201, 0x202, 0x300}));
    // Program 2 drops the shared audio: nobody uses 0x201 now.
    engine.Feed(0x101, Pmt(2, 1, 0x300, {{0x02, 0x300, {}}}));
    EXPECT_EQ(Relays(), (std::vector<uint16_t>{0x200, 0x202, 0x300}));
    EXPECT_FALSE(Routed(0x201));
    EXPECT_TRUE(Routed(0x202));
    EXPECT_EQ(listener.Service(2)->GetServiceType(), CService::kTV);
    EXPECT_EQ(listener.Service(2)->GetAudioStream(), nullptr);

    // The same version again changes nothing.
    const size_t changes = listener.changes.size();
    engine.Feed(0x101, Pmt(2, 1, 0x300, {{0x02, 0x300, {}}, {0x03, 0x203, {}}}));
    EXPECT_EQ(listener.changes.size(), changes);
    EXPECT_FALSE(Routed(0x203));
}

TEST_F(ManagerFixture, ElementaryPacketsReachEveryServiceOfThePid)
{
    engine.Feed(0, Pat(1, 0, {{1, 0x100}, {2, 0x101}}));
    engine.Feed(0x100, Pmt(1, 0, 0x200, {{0x02, 0x200, {}}, {0x03, 0x201, {}}}));
    engine.Feed(0x101, Pmt(2, 0, 0x300, {{0x02, 0x300, {}}, {0x03, 0x201, {}}}));
    listener.Service(1)->ActivateDecoding();
    // Service 2 is not decoding: its packets are dropped, service 1 gets the shared audio.
    auto p = MakePacket(0x201, {0x01});
    engine.GetRouter().DeliverPacket(p.data(), 188);
    auto v = MakePacket(0x300, {0x02});
    engine.GetRouter().DeliverPacket(v.data(), 188);
    EXPECT_EQ(listener.packets[0x201], 1);
    EXPECT_EQ(listener.packets[0x300], 0);
    listener.Service(2)->ActivateDecoding();
    engine.GetRouter().DeliverPacket(p.data(), 188);
    EXPECT_EQ(listener.packets[0x201], 3);
}

TEST_F(ManagerFixture, ProgramsLeavingThePatAreRemoved)
{
    engine.Feed(0, Pat(1, 0, {{1, 0x100}, {2, 0x101}}));
    engine.Feed(0x101, Pmt(2, 0, 0x300, {{0x02, 0x300, {}}}));
    engine.Feed(0, Pat(1, 0, {{1, 0x100}, {3, 0x102}})); // same version: ignored
    EXPECT_EQ(Manager().GetRecordCount(), 2u);
    CService* two = listener.Service(2);
    EXPECT_EQ(two->GetReceptionState(), CService::kReceived);

    engine.Feed(0, Pat(1, 1, {{1, 0x100}, {3, 0x102}}));
    EXPECT_EQ(Manager().GetRecordCount(), 2u);
    EXPECT_EQ(listener.added, (std::vector<uint16_t>{1, 2, 3}));
    EXPECT_EQ(listener.removed, std::vector<uint16_t>{2});
    EXPECT_EQ(listener.removedServices, std::vector<CService*>{two});
    EXPECT_EQ(two->GetReceptionState(), CService::kNotAttached);
    EXPECT_EQ(two->GetServiceManager(), nullptr);
    EXPECT_TRUE(Relays().empty());
    EXPECT_FALSE(Routed(0x101)); // its PMT section stream went with it
    EXPECT_FALSE(Routed(0x300));

    // Back in a later version with the PMT it had: that PMT is taken again.
    engine.Feed(0, Pat(1, 2, {{1, 0x100}, {2, 0x101}, {3, 0x102}}));
    engine.Feed(0x101, Pmt(2, 0, 0x300, {{0x02, 0x300, {}}}));
    EXPECT_EQ(two->GetReceptionState(), CService::kReceived);
    EXPECT_EQ(Relays(), std::vector<uint16_t>{0x300});
}

TEST_F(ManagerFixture, APatOfSeveralSectionsIsJudgedWhole)
{
    auto entry = [](uint16_t program, uint16_t pid) {
        return Bytes{static_cast<uint8_t>(program >> 8), static_cast<uint8_t>(program),
                     static_cast<uint8_t>(0xE0 | (pid >> 8)), static_cast<uint8_t>(pid)};
    };
    engine.Feed(0, MakeLongSection(0x00, 1, 0, 0, 1, entry(1, 0x100)));
    engine.Feed(0, MakeLongSection(0x00, 1, 0, 1, 1, entry(2, 0x101)));
    ASSERT_EQ(Manager().GetRecordCount(), 2u);
    // Version 1: section 0 alone removes nothing, section 1 then drops program 1.
    engine.Feed(0, MakeLongSection(0x00, 1, 1, 0, 1, entry(3, 0x102)));
    EXPECT_EQ(Manager().GetRecordCount(), 3u);
    EXPECT_TRUE(listener.removed.empty());
    engine.Feed(0, MakeLongSection(0x00, 1, 1, 1, 1, entry(2, 0x101)));
    EXPECT_EQ(Manager().GetRecordCount(), 2u);
    EXPECT_EQ(listener.removed, std::vector<uint16_t>{1});
}

TEST_F(ManagerFixture, PmtMovingToAnotherPidIsFollowed)
{
    engine.Feed(0, Pat(1, 0, {{1, 0x100}}));
    engine.Feed(0x100, Pmt(1, 0, 0x200, {{0x02, 0x200, {}}}));
    CService* one = listener.Service(1);
    ASSERT_EQ(one->GetVideoStream()->pid, 0x200);

    engine.Feed(0, Pat(1, 1, {{1, 0x110}}));
    EXPECT_FALSE(Routed(0x100));
    EXPECT_TRUE(Routed(0x110));
    const auto pids = engine.GetParser().GetPids();
    EXPECT_EQ(std::count(pids.begin(), pids.end(), 0x100), 0);
    EXPECT_EQ(std::count(pids.begin(), pids.end(), 0x110), 1);
    EXPECT_EQ(one->GetVideoStream()->pid, 0x200); // until the moved PMT arrives
    EXPECT_TRUE(listener.removed.empty());

    // The moved PMT keeps its version number: it is taken all the same.
    engine.Feed(0x110, Pmt(1, 0, 0x210, {{0x02, 0x210, {}}}));
    ASSERT_NE(one->GetVideoStream(), nullptr);
    EXPECT_EQ(one->GetVideoStream()->pid, 0x210);
    EXPECT_EQ(Relays(), std::vector<uint16_t>{0x210});
    EXPECT_FALSE(Routed(0x200));
}

TEST_F(ManagerFixture, SdtNamesServicesOfItsOwnTransportStream)
{
    engine.Feed(0, Pat(0x77, 0, {{1, 0x100}, {2, 0x101}}));
    engine.Feed(0x11, Sdt(0x78, 0x2000, 0, {{1, "Other", "Elsewhere"}})); // another multiplex
    EXPECT_TRUE(Manager().SDTEvent().IsSet());
    EXPECT_EQ(listener.Service(1)->GetName(), u"");
    engine.Feed(0x11, Sdt(0x77, 0x2000, 0, {{1, "One", "Maker", true, true}, {9, "Nine", "Nobody"}}));
    CService* s = listener.Service(1);
    EXPECT_EQ(s->GetName(), u"One");
    EXPECT_EQ(s->GetProvider(), u"Maker");
    EXPECT_EQ(s->GetOriginalNetworkId(), 0x2000);
    EXPECT_EQ(s->GetDVBServiceType(), 1u);
    EXPECT_EQ(s->HasEPG(), 1);
    EXPECT_EQ(s->IsFreeCA(), 1);
    EXPECT_FALSE(Manager().AllSDTEvent().IsSet());
    engine.Feed(0x11, Sdt(0x77, 0x2000, 1, {{1, "One", "Maker"}, {2, "Two", "Maker", false}}));
    EXPECT_EQ(listener.Service(2)->GetName(), u"Two");
    EXPECT_EQ(listener.Service(2)->HasEPG(), 0);
    EXPECT_TRUE(Manager().AllSDTEvent().IsSet());
}

TEST_F(ManagerFixture, SiPidsAreWantedWithoutWaitingForEveryPmt)
{
    engine.Feed(0, Pat(0x77, 0, {{1, 0x100}, {2, 0x101}}));
    engine.Feed(0x100, Pmt(1, 0, 0x200, {{0x02, 0x200, {}}}));
    // Program 2 never sends its PMT; the multiplex is named all the same.
    engine.Feed(0x11, Sdt(0x77, 1, 0, {{1, "One", "Maker"}}));
    EXPECT_EQ(listener.Service(1)->GetName(), u"One");
}

TEST_F(ManagerFixture, PresentFollowingFromSingleEventSections)
{
    engine.Feed(0, Pat(0x77, 0, {{1, 0x100}}));
    // MJD 61000 is 2025-12-17.
    engine.Feed(0x12, EitPresentFollowing(1, 0x77, 1, 0, 0, {{10, 61000, 20, "News"}}));
    engine.Feed(0x12, EitPresentFollowing(1, 0x77, 1, 0, 1, {{11, 61000, 21, "Film"}}));
    CService* s = listener.Service(1);
    const int64_t day = (61000 - 40587) * int64_t(86400);
    EXPECT_EQ(s->GetPresentEvent().name, u"News");
    EXPECT_EQ(s->GetPresentEvent().start, day + 20 * 3600);
    EXPECT_EQ(s->GetPresentEvent().duration, 5400);
    EXPECT_EQ(s->GetFollowingEvent().name, u"Film");
    // Two events in section 0 change nothing.
    engine.Feed(0x12, EitPresentFollowing(1, 0x77, 1, 1, 0, {{12, 61000, 22, "A"}, {13, 61000, 23, "B"}}));
    EXPECT_EQ(s->GetPresentEvent().name, u"News");
}

// Between two programmes the present section carries no event: nothing is on now.
TEST_F(ManagerFixture, EmptyPresentSectionClearsThePresentEvent)
{
    engine.Feed(0, Pat(0x77, 0, {{1, 0x100}}));
    engine.Feed(0x12, EitPresentFollowing(1, 0x77, 1, 0, 0, {{10, 61000, 20, "News"}}));
    engine.Feed(0x12, EitPresentFollowing(1, 0x77, 1, 0, 1, {{11, 61000, 21, "Film"}}));
    CService* s = listener.Service(1);
    ASSERT_EQ(s->GetPresentEvent().name, u"News");
    const size_t changes = listener.changes.size();
    engine.Feed(0x12, EitPresentFollowing(1, 0x77, 1, 1, 0, {}));
    EXPECT_EQ(s->GetPresentEvent().name, u"");
    EXPECT_EQ(s->GetPresentEvent().start, 0);
    EXPECT_EQ(s->GetPresentEvent().duration, 0);
    EXPECT_EQ(s->GetFollowingEvent().name, u"Film");
    ASSERT_EQ(listener.changes.size(), changes + 1);
    EXPECT_EQ(listener.changes.back().mask, CService::kEventsChanged);
}

TEST_F(ManagerFixture, EventsAreSignalledInStreamOrder)
{
    EXPECT_FALSE(Manager().PATEvent().IsSet());
    engine.Feed(0, Pat(0x77, 0, {{1, 0x100}}));
    EXPECT_TRUE(Manager().PATEvent().IsSet());
    EXPECT_FALSE(Manager().AllPMTEvent().IsSet());
    engine.Feed(0x100, Pmt(1, 0, 0x200, {{0x02, 0x200, {}}}));
    EXPECT_TRUE(Manager().AllPMTEvent().IsSet());
    EXPECT_FALSE(Manager().SDTEvent().IsSet());
    engine.Feed(0x11, Sdt(0x77, 1, 0, {{1, "One", "Maker"}}));
    EXPECT_TRUE(Manager().SDTEvent().IsSet());
    EXPECT_TRUE(Manager().AllSDTEvent().IsSet());
    // Reported in order: attached (0x10, state 1), streams (0x04), received (0x10, state 2), names.
    std::vector<uint32_t> masks;
    for (const auto& c : listener.changes)
        masks.push_back(c.mask);
    EXPECT_EQ(masks, (std::vector<uint32_t>{0x10, 0x04, 0x10, 0x01}));
    EXPECT_EQ(listener.changes[0].state, 1u);
    EXPECT_EQ(listener.changes[2].state, 2u);
}

TEST_F(ManagerFixture, StopReportsEveryServiceAndLeavesNothingRouted)
{
    engine.Feed(0, Pat(0x77, 0, {{1, 0x100}, {2, 0x101}}));
    engine.Feed(0x100, Pmt(1, 0, 0x200, {{0x02, 0x200, {}}, {0x03, 0x201, {}}}));
    engine.Feed(0x101, Pmt(2, 0, 0x300, {{0x02, 0x300, {}}}));
    ASSERT_EQ(engine.Stop(), S_OK);
    std::vector<uint16_t> removed = listener.removed;
    std::sort(removed.begin(), removed.end());
    EXPECT_EQ(removed, (std::vector<uint16_t>{1, 2}));
    for (uint32_t pid = 0; pid < 0x2000; ++pid)
        ASSERT_FALSE(Routed(static_cast<uint16_t>(pid))) << "pid " << pid;
    EXPECT_EQ(listener.Service(1)->GetReceptionState(), CService::kNotAttached);
    EXPECT_EQ(listener.Service(1)->GetServiceManager(), nullptr);
    EXPECT_FALSE(Manager().PATEvent().IsSet());
    EXPECT_EQ(Manager().GetTransportStreamId(), 0);
}

TEST_F(ManagerFixture, RefusedServicesAndKnownServices)
{
    listener.refuse[2] = true;
    engine.Feed(0, Pat(0x77, 0, {{1, 0x100}, {2, 0x101}}));
    EXPECT_EQ(listener.Service(2), nullptr);
    engine.Feed(0x101, Pmt(2, 0, 0x300, {{0x02, 0x300, {}}}));
    EXPECT_FALSE(Routed(0x300)); // answered "not now"
    // The listener hands the same service for another program: it is attached once only.
    listener.reuse = listener.Service(1);
    engine.Feed(0, Pat(0x77, 1, {{1, 0x100}, {2, 0x101}, {3, 0x102}}));
    ASSERT_EQ(engine.Stop(), S_OK);
    EXPECT_EQ(listener.removed, std::vector<uint16_t>{1});
}
