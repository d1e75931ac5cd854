// The guide's scheduled recordings: what a job gets from an event, and free job names.
#include <gtest/gtest.h>

#include <set>

#include "dvb/DVBPlaybackCore/GuideRecording.h"
#include "dvb/DVBPlaybackCore/JobName.h"
#include "support/ZoneScope.h"

using namespace DVBPlaybackCore;

namespace {

libDVB::CEITEvent Event(int64_t start, int64_t duration)
{
    libDVB::CEITEvent event;
    event.original_network_id = 0x20FA;
    event.transport_stream_id = 770;
    event.service_id = 2571;
    event.event_id = 9;
    event.name = u"Late news";
    event.start = start;
    event.duration = duration;
    return event;
}

} // namespace

TEST(GuideRecording, TheJobStartsAtTheEventsLocalTimeOnItsLocalWeekday)
{
    ZoneScope zone("Europe/Bratislava");
    if (!zone.Active())
        GTEST_SKIP() << "the zone is not Europe/Bratislava";
    // 2026-12-31 23:30 UTC, a Thursday, is 00:30 on Friday 2027-01-01 in Bratislava.
    const int64_t start = 1798759800;
    CTask task;
    ASSERT_EQ(ComposeGuideRecording(Event(start, 5400 + 59), CTask::kWeekly, u"C:\\Program Files\\Tolvik", &task),
              S_OK);
    EXPECT_EQ(task.GetStart(), start) << "the UTC start unchanged, no offset added";
    EXPECT_EQ(task.GetDuration(), 5459);
    EXPECT_EQ(task.GetParameters(), u"/rec 770 2571 90 1 ");
    EXPECT_EQ(task.GetApplicationName(), u"C:\\Program Files\\Tolvik\\Tolvik.exe");
    EXPECT_EQ(task.GetWorkingDirectory(), u"C:\\Program Files\\Tolvik");
    EXPECT_EQ(task.GetComment(), u"Late news");
    EXPECT_EQ(task.GetCreator(), u"A");
    EXPECT_EQ(task.GetInterval(), 1);
    EXPECT_TRUE(task.GetCloseAfter());
    EXPECT_EQ(task.GetTriggerType(), CTask::kWeekly);
    EXPECT_EQ(task.GetWeekDays(), 1 << 5) << "Friday, the local day";
    CTask::CTriggerTimes times{};
    ASSERT_TRUE(task.GetTriggerTimes(&times));
    EXPECT_EQ(times.beginDay, 1);
    EXPECT_EQ(times.startHour, 0);
    EXPECT_EQ(times.startMinute, 30);
    EXPECT_EQ(task.CheckRepetition(), S_OK);

    // Noon in summer, two hours east: the same instant rule, no whole-hour offset of "now".
    CTask daily;
    ASSERT_EQ(ComposeGuideRecording(Event(1784282400, 3600), CTask::kDaily, u"C:\\T", &daily), S_OK); // 2026-07-17 10:00 UTC
    ASSERT_TRUE(daily.GetTriggerTimes(&times));
    EXPECT_EQ(times.startHour, 12);
    EXPECT_EQ(daily.GetTriggerType(), CTask::kDaily);
    EXPECT_EQ(daily.GetWeekDays(), 0);
}

TEST(GuideRecording, AnEventWithNothingToRecordLeavesTheTaskUntouched)
{
    // What the engine's copy holds when the event is gone: no ids, start and duration 0.
    libDVB::CEITEvent gone;
    CTask task;
    EXPECT_EQ(ComposeGuideRecording(gone, CTask::kOnce, u"C:\\T", &task), E_INVALIDARG);
    EXPECT_EQ(ComposeGuideRecording(Event(1798759800, 59), CTask::kOnce, u"C:\\T", &task), E_INVALIDARG);
    EXPECT_EQ(ComposeGuideRecording(Event(-3600, 3600), CTask::kOnce, u"C:\\T", &task), E_INVALIDARG);
    EXPECT_EQ(ComposeGuideRecording(Event(1798759800, 3600), 3, u"C:\\T", &task), E_INVALIDARG);
    EXPECT_EQ(ComposeGuideRecording(Event(1798759800, 3600), CTask::kOnce, u"C:\\T", nullptr), E_INVALIDARG);
    EXPECT_TRUE(task.GetParameters().empty());
    EXPECT_TRUE(task.GetApplicationName().empty());
}

TEST(JobName, CountsOnWhileTheSchedulerHoldsTheName)
{
    const std::set<std::u16string> held{u"QORSR_41", u"QORSR_42"};
    int asked = 0;
    const auto taken = [&](const std::u16string& name) {
        ++asked;
        return held.count(name) != 0;
    };
    EXPECT_EQ(FreeJobNameWhere(41, taken), u"QORSR_43");
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(FreeJobNameWhere(0x7FFFFFFFu, [](const std::u16string& n) { return n == u"QORSR_2147483647"; }),
              u"QORSR_-2147483648");
    EXPECT_EQ(FreeJobName(7, {u"qorsr_7"}), u"QORSR_8") << "names compare without case";
}
