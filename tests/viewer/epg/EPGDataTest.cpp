#include <gtest/gtest.h>

#include <vector>

#include "base/Clock.h"
#include "support/ZoneScope.h"
#include "viewer/epg/CEPGData.h"
#include "viewer/osd/COSDString.h"

namespace {

int64_t Utc(int year, unsigned month, unsigned day, int hour, int minute)
{
    return base::DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60;
}

std::vector<uint32_t> EventKeys(const CEPGChannel& channel)
{
    std::vector<uint32_t> keys;
    for (POSITION pos = channel.m_events.GetHeadPosition(); pos;)
        keys.push_back(channel.m_events.GetNext(pos)->m_keyLow);
    return keys;
}

int32_t Add(CEPGData& model, CEPGChannel* channel, uint32_t key, int64_t start, int32_t minutes)
{
    return model.AddEvent(channel, L"t", key, 7, start, minutes, 3, L"N/A", L"N/A", 0);
}

} // namespace

TEST(EPGData, FillCycle)
{
    CEPGData model(Utc(2026, 3, 1, 12, 0));
    EXPECT_EQ(model.m_columnSpan, 1800);
    EXPECT_EQ(model.RowCount(), 0);
    EXPECT_FALSE(model.IsUpdating());
    ASSERT_EQ(model.BeginUpdate(), 0);
    EXPECT_TRUE(model.IsUpdating());

    CEPGChannel* first = nullptr;
    CEPGChannel* again = nullptr;
    EXPECT_EQ(model.AddChannel(L"One", 0x10000, 0x00010002, &first), 0);
    EXPECT_EQ(model.AddChannel(L"Other name", 0x10000, 0x00010002, &again), 1);
    EXPECT_EQ(first, again);
    EXPECT_EQ(first->m_name.Compare(L"One"), 0);
    CEPGChannel* second = nullptr;
    EXPECT_EQ(model.AddChannel(L"Two", 0x20000, 0x00010002, &second), 0);
    EXPECT_NE(first, second);
    EXPECT_EQ(model.m_back->GetSize(), 2);

    const int64_t t0 = Utc(2026, 3, 1, 20, 0);
    EXPECT_EQ(Add(model, first, 1, t0, 30), 0);
    EXPECT_EQ(Add(model, first, 2, t0 + 3600, 60), 0);
    EXPECT_EQ(Add(model, first, 3, t0 - 3600, 30), 0);   // before every event: head
    EXPECT_EQ(Add(model, first, 4, t0 + 7200, 30), 0);   // after the last: tail
    EXPECT_EQ(Add(model, first, 5, t0 + 1800, 30), 0);   // fits the gap 20:30-21:00
    EXPECT_EQ(EventKeys(*first), (std::vector<uint32_t>{3, 1, 5, 2, 4}));
    // The same key met on the walk (at the head, as a successor, at the tail): dropped and freed.
    EXPECT_EQ(Add(model, first, 3, t0 + 9000, 10), 1);
    EXPECT_EQ(Add(model, first, 5, t0, 10), 1);
    EXPECT_EQ(Add(model, first, 4, t0 + 7200, 10), 1);
    EXPECT_EQ(first->m_events.GetCount(), 5);

    // A second fill before publishing is refused and keeps what is there.
    EXPECT_EQ(model.BeginUpdate(), CEPGData::kFailed);
    EXPECT_EQ(model.m_back->GetSize(), 2);
    EXPECT_EQ(model.RowCount(), 0);

    CEPGChannelArray* filled = model.m_back;
    EXPECT_EQ(model.Publish(), 0);
    EXPECT_FALSE(model.IsUpdating());
    EXPECT_EQ(model.m_front, filled);
    EXPECT_EQ(model.RowCount(), 2);
    EXPECT_EQ(model.Row(0), first);
    EXPECT_EQ(model.Row(2), nullptr);

    // The next fill empties the old front (now the back) and leaves the published rows alone.
    ASSERT_EQ(model.BeginUpdate(), 0);
    EXPECT_EQ(model.m_back->GetSize(), 0);
    EXPECT_EQ(model.RowCount(), 2);
    CEPGChannel* third = nullptr;
    model.AddChannel(L"Three", 1, 2, &third);
    Add(model, third, 9, t0, 30);
    model.Publish();
    EXPECT_EQ(model.RowCount(), 1);
    // The previous grid is freed by the next BeginUpdate or by the destructor (ASan checks both).
}

TEST(EPGData, FindFirstVisible)
{
    CEPGChannel channel;
    EXPECT_EQ(channel.FindFirstVisible(0), nullptr);
    const int64_t t0 = Utc(2026, 3, 1, 20, 0);
    for (uint32_t i = 0; i < 3; ++i) {
        auto* e = new CEPGEvent();
        e->m_keyLow = i;
        e->m_start = t0 + i * 1800;
        e->m_durationMinutes = 30;
        channel.m_events.AddTail(e);
    }
    // Every event has ended.
    EXPECT_EQ(channel.FindFirstVisible(t0 + 3 * 1800), nullptr);
    // The head still runs: the head itself.
    EXPECT_EQ(channel.FindFirstVisible(t0 + 10), channel.m_events.GetHeadPosition());
    // The second event runs: the walk starts one before it.
    EXPECT_EQ(channel.FindFirstVisible(t0 + 1800), channel.m_events.GetHeadPosition());
    POSITION pos = channel.FindFirstVisible(t0 + 2 * 1800 + 60);
    ASSERT_NE(pos, nullptr);
    EXPECT_EQ(channel.m_events.GetAt(pos)->m_keyLow, 1u);
}

TEST(EPGData, GridStartRoundsInLocalTimeAndStaysAnInstant)
{
    struct Case {
        const char* zone;
        int64_t offset; // local minus UTC on the chosen day
        int year;
        unsigned month, day;
    };
    const Case cases[] = {
        {"UTC", 0, 2026, 1, 15},
        {"Europe/Bratislava", 3600, 2026, 1, 15},
        {"Europe/Bratislava", 7200, 2026, 7, 15},
        {"Asia/Kolkata", 19800, 2026, 7, 15},
    };
    int checked = 0;
    for (const Case& c : cases) {
        ZoneScope zone(c.zone);
        if (!zone.Active())
            continue;
        ++checked;
        SCOPED_TRACE(c.zone);
        const int64_t day = Utc(c.year, c.month, c.day, 0, 0) - c.offset; // local midnight as an instant
        ASSERT_EQ(base::LocalUtcOffset(day + 14 * 3600), c.offset);
        EXPECT_EQ(CEPGData(day + 14 * 3600 + 10 * 60 + 17).m_gridStart, day + 13 * 3600 + 30 * 60);
        EXPECT_EQ(CEPGData(day + 14 * 3600 + 40 * 60).m_gridStart, day + 14 * 3600);
        EXPECT_EQ(CEPGData(day + 14 * 3600 + 30 * 60).m_gridStart, day + 14 * 3600);
    }
    if (!checked)
        GTEST_SKIP() << "no zone of the table is in effect";
}

TEST(EPGData, DropTextsForgetsLayoutsOfBothArrays)
{
    CEPGData model(0);
    model.BeginUpdate();
    CEPGChannel* channel = nullptr;
    model.AddChannel(L"A", 1, 1, &channel);
    Add(model, channel, 1, 0, 30);
    channel->m_nameText = new OnScreenDisplay::COSDString();
    channel->m_events.GetHead()->m_titleText = new OnScreenDisplay::COSDString();
    model.Publish();
    model.BeginUpdate();
    CEPGChannel* back = nullptr;
    model.AddChannel(L"B", 2, 2, &back);
    back->m_nameText = new OnScreenDisplay::COSDString();
    model.DropTexts();
    EXPECT_EQ(channel->m_nameText, nullptr);
    EXPECT_EQ(channel->m_events.GetHead()->m_titleText, nullptr);
    EXPECT_EQ(back->m_nameText, nullptr);
}
