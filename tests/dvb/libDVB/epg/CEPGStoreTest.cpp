#include <gtest/gtest.h>

#include <filesystem>

#include "EPGTestUtil.h"
#include "base/File.h"

using libDVB::CEITEvent;
using libDVB::CEITEventUpdate;
using libDVB::CEPGStore;
using libDVB::CEventList;
using test::Update;

namespace {

constexpr int64_t kNow = 1'800'000'000;

struct StoreFixture : ::testing::Test {
    int64_t now = kNow;
    CEPGStore store{u"", [this] { return now; }};
    CEventList Events()
    {
        CEventList out;
        store.GetServiceEvents(0x22, 0x33, 0x44, out);
        return out;
    }
};

} // namespace

TEST_F(StoreFixture, ShortEventsJoinWithNewlines)
{
    auto u = Update(1, kNow, 600);
    u.shortEvents = {{u"News", u""}, {u"Weather", u"Outlook"}, {u"", u"Sport"}};
    store.MergeEvent(u);
    auto events = Events();
    ASSERT_EQ(events.size(), 1u);
    // The separator goes in whenever the text so far is not empty, even before an empty part.
    EXPECT_EQ(events[0].name, u"News\nWeather\n");
    EXPECT_EQ(events[0].shortText, u"Outlook\nSport");
}

TEST_F(StoreFixture, ExtendedTextsFollowTheirNumbers)
{
    auto u = Update(1, kNow, 600);
    u.extendedEvents = {{1, 1, u"second"}, {0, 1, u"first "}};
    store.MergeEvent(u);
    EXPECT_EQ(Events()[0].extendedText, u"first second");

    // Repeated, missing and out-of-range numbers never index past the announced parts.
    u.extendedEvents = {{2, 3, u"c"}, {2, 3, u"again"}, {9, 3, u"beyond"}, {0, 3, u"a"}, {3, 3, u"d"}};
    store.MergeEvent(u);
    EXPECT_EQ(Events()[0].extendedText, u"acd");
}

TEST_F(StoreFixture, ContentIsTheFirstNonZeroValue)
{
    auto u = Update(1, kNow, 600);
    u.contentValues = {0x00, 0x23, 0x41};
    store.MergeEvent(u);
    EXPECT_EQ(Events()[0].content, 0x23u);
}

TEST_F(StoreFixture, RepeatedEventUpdatesInPlaceAndSignalsOnce)
{
    EXPECT_FALSE(store.NewEventSignal().IsSet());
    store.MergeEvent(Update(7, kNow, 600, "Old title"));
    EXPECT_TRUE(store.NewEventSignal().IsSet());
    store.NewEventSignal().Reset();
    store.MergeEvent(Update(7, kNow, 900, "New title"));
    EXPECT_FALSE(store.NewEventSignal().IsSet());
    auto events = Events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].name, u"New title");
    EXPECT_EQ(events[0].duration, 900);
    EXPECT_EQ(store.GetEventCount(), 1u);
}

TEST_F(StoreFixture, GuideRefreshOnlyForNewEventsInsideTheWindow)
{
    store.SetGuideWindow(kNow, kNow + 3600);
    store.MergeEvent(Update(1, kNow + 3601, 60));
    EXPECT_FALSE(store.GuideRefreshSignal().IsSet());
    store.MergeEvent(Update(2, kNow + 3600, 60)); // the window's end is inside
    EXPECT_TRUE(store.GuideRefreshSignal().IsSet());
    store.GuideRefreshSignal().Reset();
    store.MergeEvent(Update(2, kNow + 100, 60)); // known event: no refresh
    EXPECT_FALSE(store.GuideRefreshSignal().IsSet());
}

TEST_F(StoreFixture, ListsStayInStartOrderWhenAStartMoves)
{
    store.MergeEvent(Update(1, kNow + 0, 600, "A"));
    store.MergeEvent(Update(3, kNow + 1200, 600, "C"));
    store.MergeEvent(Update(2, kNow + 600, 600, "B"));
    auto events = Events();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].name, u"A");
    EXPECT_EQ(events[1].name, u"B");
    EXPECT_EQ(events[2].name, u"C");
    store.MergeEvent(Update(1, kNow + 1800, 600, "A")); // A moved behind C
    events = Events();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].name, u"B");
    EXPECT_EQ(events[2].name, u"A");
}

TEST_F(StoreFixture, NowNextAndFraction)
{
    store.MergeEvent(Update(1, kNow - 900, 3600, "Running"));
    store.MergeEvent(Update(2, kNow + 2700, 1800, "Next"));
    CEITEvent present, following;
    float fraction = -1;
    ASSERT_EQ(store.GetNowNext(0x33, 0x44, 0x22, &present, &following, &fraction), S_OK);
    EXPECT_EQ(present.name, u"Running");
    EXPECT_EQ(following.name, u"Next");
    EXPECT_FLOAT_EQ(fraction, 0.25f);

    now = kNow + 2700 + 1800 - 1; // the last second of the last event
    ASSERT_EQ(store.GetNowNext(0x33, 0x44, 0x22, &present, &following, &fraction), S_OK);
    EXPECT_EQ(present.name, u"Next");
    EXPECT_EQ(following.event_id, 0);

    now += 1; // its end instant: over
    present.name = u"untouched";
    EXPECT_EQ(store.GetNowNext(0x33, 0x44, 0x22, &present, &following, &fraction), E_FAIL);
    EXPECT_EQ(present.name, u"untouched");
}

// Events cover [start, start + duration): at the instant one ends and the next begins, the next
// one is on.
TEST_F(StoreFixture, NowNextAtTheEndInstantIsTheNextEvent)
{
    store.MergeEvent(Update(1, kNow - 3600, 3600, "Ended"));
    store.MergeEvent(Update(2, kNow, 1800, "Begun"));
    store.MergeEvent(Update(3, kNow + 1800, 1800, "Later"));
    CEITEvent present, following;
    float fraction = -1;
    ASSERT_EQ(store.GetNowNext(0x33, 0x44, 0x22, &present, &following, &fraction), S_OK);
    EXPECT_EQ(present.name, u"Begun");
    EXPECT_EQ(following.name, u"Later");
    EXPECT_FLOAT_EQ(fraction, 0.0f);
}

TEST_F(StoreFixture, GetEventByKey)
{
    store.MergeEvent(Update(9, kNow, 60, "Key"));
    CEITEvent e;
    EXPECT_EQ(store.GetEvent(CEITEvent::MakeEventKey(0x22, 0x33, 0x44, 9), &e), S_OK);
    EXPECT_EQ(e.name, u"Key");
    EXPECT_EQ(store.GetEvent(CEITEvent::MakeEventKey(0x22, 0x33, 0x44, 10), &e), E_FAIL);
    EXPECT_EQ(store.GetEvent(0, nullptr), E_POINTER);
}

TEST(EPGStoreFile, SavesOnDestructionAndLoadsOnConstruction)
{
    const auto path = test::ScratchPath(".dat");
    base::DeleteFileAt(path);
    {
        CEPGStore store(path, [] { return kNow; });
        auto u = Update(5, kNow - 100, 3600, "Kept");
        u.extendedEvents = {{0, 0, u"Long text \u00e9\u4e2d"}};
        u.contentValues = {0x12};
        store.MergeEvent(u);
        store.MergeEvent(Update(6, kNow - 86400, 60, "Too old"));
    }
    CEPGStore loaded(path, [] { return kNow; });
    ASSERT_EQ(loaded.GetEventCount(), 1u);
    CEITEvent e;
    ASSERT_EQ(loaded.GetEvent(CEITEvent::MakeEventKey(0x22, 0x33, 0x44, 5), &e), S_OK);
    EXPECT_EQ(e.name, u"Kept");
    EXPECT_EQ(e.extendedText, u"Long text \u00e9\u4e2d");
    EXPECT_EQ(e.content, 0x12u);
    EXPECT_EQ(e.running_status, 4);
    EXPECT_EQ(e.start, kNow - 100);
    EXPECT_FALSE(loaded.NewEventSignal().IsSet());
    base::DeleteFileAt(path);
}

TEST(EPGStoreFile, FailedSaveKeepsThePreviousCache)
{
    const auto path = test::ScratchPath(".dat");
    base::DeleteFileAt(path);
    {
        CEPGStore store(path, [] { return kNow; });
        store.MergeEvent(Update(5, kNow, 3600, "Saved"));
    }
    std::vector<uint8_t> before;
    ASSERT_TRUE(base::ReadWholeFile(path, before));
    // The temporary beside the cache cannot be created: a folder stands in its place.
    const std::filesystem::path blocker(path + u".new");
    ASSERT_TRUE(std::filesystem::create_directory(blocker));
    {
        CEPGStore store(path, [] { return kNow; });
        store.MergeEvent(Update(6, kNow, 3600, "Lost"));
        EXPECT_FALSE(store.Save());
    }
    std::vector<uint8_t> after;
    ASSERT_TRUE(base::ReadWholeFile(path, after));
    EXPECT_EQ(before, after);
    std::filesystem::remove(blocker);
    base::DeleteFileAt(path);
}

TEST_F(StoreFixture, ExtremeTimesFromADamagedCacheDoNotOverflow)
{
    CEITEvent present;
    float fraction = 0;
    store.MergeEvent(Update(1, INT64_MIN + 5, INT64_MAX, "ancient")); // ends 4 s after 1970
    EXPECT_EQ(store.GetNowNext(0x33, 0x44, 0x22, &present, nullptr, &fraction), E_FAIL);
    store.MergeEvent(Update(2, kNow - 10, INT64_MAX, "endless")); // start + duration overflows
    EXPECT_EQ(store.GetNowNext(0x33, 0x44, 0x22, &present, nullptr, &fraction), S_OK);
    EXPECT_EQ(present.name, u"endless");
}
