// The guide's context menu on the real frame and engine writing real Task Scheduler 1.0 jobs, in
// Europe/Bratislava (an hour east of UTC in winter, two in summer): the job's trigger starts at
// the event's local time and its parameters are the "/rec" line; nothing to schedule writes nothing
// and tells the user.
#include <gtest/gtest.h>

#include <winsock2.h> // the main frame's multicast parts need it before <windows.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "TaskSchedulerKit.h"
#include "TestEngineUserInterface.h"
#include "dvb/DVBPlaybackCore/CTask.h"
#include "dvb/libDVB/epg/CEPGStore.h"
#include "viewer/MainFrm.h"
#include "viewer/ViewerGlobals.h"

namespace {

constexpr wchar_t kProfileKey[] = L"Software\\Harvo\\TolvikGuideJobsTest";
constexpr uint16_t kNetwork = 0x20FA, kTransportStream = 2571, kService = 257;

class CGuideJobsApp : public CWinApp {
public:
    CGuideJobsApp() : CWinApp(L"qor") {}
} g_app;

// The frame with its menu answered by the test and its message boxes collected.
class CGuideFrame : public CMainFrame {
public:
    UINT choice = 0;
    int tracked = 0;
    std::vector<std::wstring> texts;
    std::vector<UINT> states;
    std::vector<std::wstring> failures;

protected:
    UINT TrackGuideMenu(HMENU menu, POINT) override
    {
        ++tracked;
        texts.clear();
        states.clear();
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[128] = {};
            GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
            texts.push_back(text);
            states.push_back(GetMenuState(menu, i, MF_BYPOSITION));
        }
        return choice;
    }
    void ShowGuideFailure(const CString& text) override { failures.push_back(text.GetString()); }
};

std::set<std::wstring> JobNames(ITaskScheduler* scheduler)
{
    std::set<std::wstring> names;
    IEnumWorkItems* items = nullptr;
    if (FAILED(scheduler->Enum(&items)) || !items)
        return names;
    LPWSTR* found = nullptr;
    ULONG count = 0;
    while (items->Next(1, &found, &count) == S_OK && count == 1) {
        std::wstring name(found[0]);
        if (name.size() > 4 && lstrcmpiW(name.c_str() + name.size() - 4, L".job") == 0)
            name.resize(name.size() - 4);
        names.insert(name);
        CoTaskMemFree(found[0]);
        CoTaskMemFree(found);
    }
    items->Release();
    return names;
}

class GuideJobs : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_scheduler = test::OpenScheduler();
        ASSERT_NE(m_scheduler, nullptr);
        RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
        g_app.SetRegistryKey(L"Harvo\\TolvikGuideJobsTest");
        g_appFolder = L"C:\\Program Files\\Tolvik";
        m_frame = new CGuideFrame;
        ASSERT_TRUE(m_frame->LoadFrame(128, FWS_ADDTOTITLE, nullptr, nullptr));
        ASSERT_NE(m_frame->GetEngine(), nullptr);
    }
    void TearDown() override
    {
        for (const std::wstring& name : m_written)
            m_scheduler->Delete(name.c_str());
        if (m_frame && ::IsWindow(m_frame->m_hWnd))
            m_frame->DestroyWindow(); // deletes the frame
        RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
        if (m_scheduler)
            m_scheduler->Release();
    }
    // An event of the test service in the engine's guide store; its key as the guide holds it.
    void AddEvent(uint16_t eventId, int64_t start, int64_t duration, const std::u16string& name)
    {
        libDVB::CEITEventUpdate update;
        update.original_network_id = kNetwork;
        update.transport_stream_id = kTransportStream;
        update.service_id = kService;
        update.event_id = eventId;
        update.start = start;
        update.duration = duration;
        update.shortEvents.push_back({name, u"text"});
        m_frame->GetEngine()->GetEPGStore().MergeEvent(update);
    }
    // A right click on the event, answered with `choice`; the jobs it added.
    std::vector<std::wstring> RightClick(uint16_t eventId, UINT choice, uint32_t flags = MK_RBUTTON, bool past = false)
    {
        const std::set<std::wstring> before = JobNames(m_scheduler);
        m_frame->choice = choice;
        const int tracked = m_frame->tracked;
        const uint32_t eventLow = static_cast<uint32_t>(kService) << 16 | eventId;
        const uint32_t eventHigh = static_cast<uint32_t>(kNetwork) << 16 | kTransportStream;
        const uint32_t channelHigh = static_cast<uint32_t>(kService) << 16 | kTransportStream;
        m_frame->OnOsdGuideMenu(70, eventLow, eventHigh, 5u << 16, channelHigh, flags, false, past);
        if (flags == MK_RBUTTON) // the menu runs from the queue
            EXPECT_TRUE(test::PumpUntil([&] { return m_frame->tracked > tracked; }, 5000));
        else // nothing was posted; the menu's own check refuses the flags as well
            m_frame->ShowGuideMenu(70, eventLow, eventHigh, 5u << 16, channelHigh, flags, false, past);
        std::vector<std::wstring> added;
        for (const std::wstring& name : JobNames(m_scheduler))
            if (!before.count(name))
                added.push_back(name);
        m_written.insert(m_written.end(), added.begin(), added.end());
        return added;
    }

    test::CComApartment m_com;
    ITaskScheduler* m_scheduler = nullptr;
    CGuideFrame* m_frame = nullptr;
    std::vector<std::wstring> m_written;
};

} // namespace

TEST_F(GuideJobs, EachScheduleEntryWritesAJobStartingAtTheEventsLocalTime)
{
    // 2027-01-15 19:00 UTC is 20:00 CET, a Friday; 2027-07-15 18:00 UTC is 20:00 CEST, a Thursday.
    const int64_t winter = 1800039600, summer = 1815674400;
    ASSERT_EQ(test::LocalTimeOf(winter).wHour, 20) << "the test runs in Europe/Bratislava";
    ASSERT_EQ(test::LocalTimeOf(summer).wHour, 20);
    AddEvent(1, winter, 5400, u"Evening film");
    AddEvent(2, summer, 3600, u"Summer news");

    struct Case {
        uint16_t eventId;
        UINT choice;
        WORD triggerType, day;
        std::wstring parameters;
    } const cases[] = {
        {1, 2, TASK_TIME_TRIGGER_ONCE, 15, L"/rec 2571 257 90 1 "},
        {2, 3, TASK_TIME_TRIGGER_DAILY, 15, L"/rec 2571 257 60 1 "},
        {2, 4, TASK_TIME_TRIGGER_WEEKLY, 15, L"/rec 2571 257 60 1 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.choice);
        const std::vector<std::wstring> added = RightClick(c.eventId, c.choice);
        ASSERT_EQ(added.size(), 1u);
        EXPECT_EQ(added[0].rfind(L"QORSR_", 0), 0u);
        EXPECT_TRUE(m_frame->failures.empty());
        ITask* job = test::OpenJob(m_scheduler, added[0]);
        ASSERT_NE(job, nullptr);
        EXPECT_EQ(test::JobText([&](LPWSTR* t) { return job->GetParameters(t); }), c.parameters);
        EXPECT_EQ(test::JobText([&](LPWSTR* t) { return job->GetApplicationName(t); }),
                  L"C:\\Program Files\\Tolvik\\Tolvik.exe");
        EXPECT_EQ(test::JobText([&](LPWSTR* t) { return job->GetComment(t); }),
                  c.eventId == 1 ? L"Evening film" : L"Summer news");
        ITaskTrigger* trigger = nullptr;
        ASSERT_EQ(job->GetTrigger(0, &trigger), S_OK);
        TASK_TRIGGER values{};
        values.cbTriggerSize = sizeof(values);
        ASSERT_EQ(trigger->GetTrigger(&values), S_OK);
        trigger->Release();
        job->Release();
        EXPECT_EQ(values.TriggerType, c.triggerType);
        EXPECT_EQ(values.wStartHour, 20) << "the event's local time, no offset added";
        EXPECT_EQ(values.wStartMinute, 0);
        EXPECT_EQ(values.wBeginDay, c.day);
        EXPECT_EQ(values.wBeginMonth, c.eventId == 1 ? 1 : 7);
        if (c.triggerType == TASK_TIME_TRIGGER_DAILY) {
            EXPECT_EQ(values.Type.Daily.DaysInterval, 1);
        }
        if (c.triggerType == TASK_TIME_TRIGGER_WEEKLY) {
            EXPECT_EQ(values.Type.Weekly.WeeksInterval, 1);
            EXPECT_EQ(values.Type.Weekly.rgfDaysOfTheWeek, TASK_THURSDAY);
        }
    }
    // The names the scheduler holds are taken; a name it does not find is free.
    EXPECT_TRUE(DVBPlaybackCore::CTask::JobExists(std::u16string(m_written[0].begin(), m_written[0].end())));
    EXPECT_FALSE(DVBPlaybackCore::CTask::JobExists(u"QORSR_no_such_job"));
}

TEST_F(GuideJobs, TheMenuItsPastEventAndItsMouseFlags)
{
    AddEvent(3, 1800039600, 3600, u"Old");
    EXPECT_TRUE(RightClick(3, 0, MK_LBUTTON).empty());
    EXPECT_TRUE(RightClick(3, 0, MK_RBUTTON | MK_SHIFT).empty());
    EXPECT_EQ(m_frame->tracked, 0) << "only a plain right click opens the menu";

    EXPECT_TRUE(RightClick(3, 0, MK_RBUTTON, true).empty());
    ASSERT_EQ(m_frame->tracked, 1);
    EXPECT_EQ(m_frame->texts, (std::vector<std::wstring>{L"Switch to this channel now", L"", L"Schedule record once",
                                                          L"Schedule record every day", L"Schedule record every week"}));
    ASSERT_EQ(m_frame->states.size(), 5u);
    EXPECT_TRUE(m_frame->states[1] & MF_SEPARATOR);
    EXPECT_TRUE(m_frame->states[2] & MF_GRAYED) << "a past event is not recorded once";
    EXPECT_FALSE(m_frame->states[3] & MF_GRAYED);
    EXPECT_FALSE(m_frame->states[4] & MF_GRAYED);
    EXPECT_TRUE(m_frame->failures.empty());
}

TEST_F(GuideJobs, NothingToScheduleWritesNoJobAndSaysSo)
{
    // The engine dropped the event since the grid was filled: no job with start 0 and no ids.
    EXPECT_TRUE(RightClick(99, 2).empty());
    ASSERT_EQ(m_frame->failures.size(), 1u);
    EXPECT_EQ(m_frame->failures[0], L"This programme is no longer in the guide: nothing was scheduled");
    // Shorter than the minute the "/rec" line counts in.
    AddEvent(4, 1800039600, 30, u"Jingle");
    EXPECT_TRUE(RightClick(4, 4).empty());
    ASSERT_EQ(m_frame->failures.size(), 2u);
    EXPECT_EQ(m_frame->failures[1], L"The recording could not be scheduled");
}
