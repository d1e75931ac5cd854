// EIT sections through an engine into the EPG store, as the channel engine merges them.
#include <gtest/gtest.h>

#include "dvb/libDVB/service/ServiceTestKit.h"
#include "dvb/libDVB/epg/CEPGStore.h"

using namespace test;
using libDVB::CEITEvent;
using libDVB::CEPGStore;
using libDVB::CEventList;

namespace {

struct StoreOwner : libDVB::CTSEngine::CTSEngineCallback {
    CEPGStore store{u""};
    HRESULT OnEITTable(libDVB::CTSEngine*, const uint8_t* section, uint32_t length, libDVB::CEITTable* table) override
    {
        return store.Merge(section, length, table);
    }
};

struct ScheduleEvent {
    uint16_t eventId;
    uint8_t hour;
    Bytes descriptors;
};

// EIT schedule actual (0x50) for service 1 of tsid 0x77 / onid 0x55, events of 30 minutes.
Bytes Schedule(uint8_t version, uint8_t section, const std::vector<ScheduleEvent>& events)
{
    Bytes body = {0x00, 0x77, 0x00, 0x55, section, 0x50};
    for (const auto& e : events) {
        const uint16_t flags = static_cast<uint16_t>((1 << 13) | e.descriptors.size());
        body = Cat({body, {static_cast<uint8_t>(e.eventId >> 8), static_cast<uint8_t>(e.eventId)},
                    MjdTime(61000, e.hour, 0, 0), {0x00, 0x30, 0x00},
                    {static_cast<uint8_t>(flags >> 8), static_cast<uint8_t>(flags)}, e.descriptors});
    }
    return MakeLongSection(0x50, 1, version, section, 1, body);
}

Bytes ShortEvent(const std::string& name, const std::string& text)
{
    return Descriptor(0x4D, Cat({Str("eng"), Text(name), Text(text)}));
}

Bytes ExtendedEvent(uint8_t number, uint8_t last, const std::string& text)
{
    return Descriptor(0x4E, Cat({{static_cast<uint8_t>(number << 4 | last)}, Str("eng"), {0x00}, Text(text)}));
}

Bytes Content(uint8_t value) { return Descriptor(0x54, {value, 0x00}); }

const int64_t kDay = (61000 - 40587) * int64_t(86400);

// An engine on the multiplex of tsid 0x77 with program 1, its EIT merged into the owner's store.
struct MergeFixture : ::testing::Test {
    StoreOwner owner;
    CTestListener listener;
    CTestEngine engine{&owner};
    void SetUp() override
    {
        ASSERT_EQ(engine.Start(&listener), S_OK);
        engine.Feed(0, Pat(0x77, 0, {{1, 0x100}}));
    }
};

} // namespace

TEST_F(MergeFixture, ScheduleSectionsAcrossVersions)
{

    engine.Feed(0x12, Schedule(0, 0, {{1, 18, Cat({ShortEvent("News", "Today"), Content(0x21)})},
                                      {2, 19, Cat({ShortEvent("Film", ""), ExtendedEvent(1, 1, "part two"),
                                                   ExtendedEvent(0, 1, "part one;"), Content(0x10)})}}));
    engine.Feed(0x12, Schedule(0, 1, {{3, 20, ShortEvent("Late", "")}}));
    CEventList events;
    owner.store.GetServiceEvents(0x55, 0x77, 1, events);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].name, u"News");
    EXPECT_EQ(events[0].shortText, u"Today");
    EXPECT_EQ(events[0].content, 0x21u);
    EXPECT_EQ(events[0].start, kDay + 18 * 3600);
    EXPECT_EQ(events[0].duration, 1800);
    EXPECT_EQ(events[0].running_status, 1);
    EXPECT_EQ(events[1].extendedText, u"part one;part two");
    EXPECT_EQ(events[2].name, u"Late");

    // The same version again is not merged; a new version renames and moves an event.
    owner.store.NewEventSignal().Reset();
    engine.Feed(0x12, Schedule(0, 0, {{1, 18, ShortEvent("Ignored", "")}}));
    CEITEvent e;
    ASSERT_EQ(owner.store.GetEvent(CEITEvent::MakeEventKey(0x55, 0x77, 1, 1), &e), S_OK);
    EXPECT_EQ(e.name, u"News");
    engine.Feed(0x12, Schedule(1, 0, {{1, 21, ShortEvent("News late", "")}}));
    events.clear();
    owner.store.GetServiceEvents(0x55, 0x77, 1, events);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[2].name, u"News late");
    EXPECT_EQ(events[2].start, kDay + 21 * 3600);
    EXPECT_FALSE(owner.store.NewEventSignal().IsSet());
}

// The parts are one text cut where the broadcaster cut it: the space at the end of a part is
// part of the text, and only the joined whole is trimmed.
TEST_F(MergeFixture, ExtendedPartsJoinAsBroadcast)
{
    engine.Feed(0x12, Schedule(0, 0, {{1, 18, Cat({ShortEvent("Film", ""), ExtendedEvent(0, 2, " Alpha beta "),
                                                   ExtendedEvent(1, 2, "gamma\x8A"), ExtendedEvent(2, 2, "delta ")})}}));
    CEventList events;
    owner.store.GetServiceEvents(0x55, 0x77, 1, events);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].extendedText, u"Alpha beta gamma\r\ndelta");
}

TEST_F(MergeFixture, PresentFollowingGoesToTheStoreToo)
{
    engine.Feed(0x12, EitPresentFollowing(1, 0x77, 0x55, 0, 0, {{10, 61000, 20, "Now"}}));
    engine.Feed(0x12, EitPresentFollowing(1, 0x77, 0x55, 0, 1, {{11, 61000, 22, "Next"}}));
    EXPECT_EQ(owner.store.GetEventCount(), 2u);
    EXPECT_TRUE(owner.store.NewEventSignal().IsSet());
    EXPECT_EQ(listener.Service(1)->GetPresentEvent().name, u"Now");
}

TEST(EPGStoreMerge, ALoopTooLongIsCutAndAShortBodyIsRefused)
{
    CEPGStore store(u"");
    // The event's descriptor loop claims more than the section holds: cut to the body, the event
    // and its descriptors are kept.
    Bytes broken = Schedule(0, 0, {{1, 18, ShortEvent("News", "")}});
    broken[14 + 10] = 0x0F;
    FixCrc(broken);
    libDVB::CEITTable brokenTable;
    ASSERT_EQ(brokenTable.CheckHeader(broken.data(), static_cast<uint32_t>(broken.size())), S_OK);
    EXPECT_EQ(store.Merge(broken.data(), static_cast<uint32_t>(broken.size()), &brokenTable), S_OK);
    EXPECT_EQ(store.GetEventCount(), 1u);
    // A body shorter than the EIT's six fixed bytes is refused and stores nothing.
    const Bytes tooShort = MakeLongSection(0x50, 2, 0, 0, 0, {0x00, 0x77, 0x00, 0x55, 0x00});
    libDVB::CEITTable shortTable;
    ASSERT_EQ(shortTable.CheckHeader(tooShort.data(), static_cast<uint32_t>(tooShort.size())), S_OK);
    EXPECT_EQ(store.Merge(tooShort.data(), static_cast<uint32_t>(tooShort.size()), &shortTable), E_FAIL);
    EXPECT_EQ(store.GetEventCount(), 1u);
}
