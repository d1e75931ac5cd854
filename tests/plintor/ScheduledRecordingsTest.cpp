// The scheduled recordings against jobs this test writes with its own Task Scheduler calls: only
// names beginning with "QORSR_" are listed, with every field; a job without trigger is listed
// without a start; a spaced path survives load-edit-save; removal deletes the job, also one an
// earlier Apply made; applying twice is harmless.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>

#include "JobKit.h"
#include "plintor/win/ScheduledRecordings.h"

namespace {

using DVBPlaybackCore::CTask;

std::wstring Parameters(ITaskScheduler* scheduler, const std::wstring& name)
{
    ITask* job = test::OpenJob(scheduler, name);
    if (!job)
        return L"<gone>";
    std::wstring text = test::JobText([job](LPWSTR* t) { return job->GetParameters(t); });
    job->Release();
    return text;
}

CScheduledRecording* Find(CScheduledRecordings& records, const std::wstring& name)
{
    for (auto& record : records) {
        if (reinterpret_cast<const wchar_t*>(record->task.GetTaskName().c_str()) == name)
            return record.get();
    }
    return nullptr;
}

TEST(ScheduledRecordingsTest, ListsPrefixedJobsAndWritesEditsAndRemovals)
{
    test::CComApartment com;
    ITaskScheduler* scheduler = test::OpenScheduler();
    ASSERT_NE(nullptr, scheduler);
    const std::wstring stem = std::to_wstring(GetTickCount64()) + L"_" + std::to_wstring(GetCurrentProcessId());
    const CJobSpec quoted = { L"QORSR_1_" + stem, L"/rec 4097 258 45 1 \"C:\\My Videos\\Tolvik recordings\\a b.ts\"" };
    const CJobSpec lower = { L"qorsr_2_" + stem, L"/rec 1 2 3 0 C:\\x.ts" };
    const CJobSpec inside = { L"xQORSR_3_" + stem, L"/rec 1 2 3 0 C:\\x.ts" };
    const CJobSpec untriggered = { L"QORSR_4_" + stem, L"/rec 5 6 30 0 C:\\y.ts", false };
    const CJobSpec daily = { L"QORSR_5_" + stem, L"/rec 7 8 60 0 C:\\z.ts", true, TASK_TIME_TRIGGER_DAILY, 0 };
    const CJobSpec foreign = { L"QORSR_6_" + stem, L"--something else entirely" };
    for (const CJobSpec* spec : { &quoted, &lower, &inside, &untriggered, &daily, &foreign })
        MakeJob(scheduler, *spec);

    {
        CScheduledRecordings records;
        ASSERT_TRUE(LoadScheduledRecordings(records));
        EXPECT_EQ(nullptr, Find(records, lower.name));
        EXPECT_EQ(nullptr, Find(records, inside.name));
        EXPECT_EQ(nullptr, Find(records, L"QORSR_1_" + stem + L".job"));

        CScheduledRecording* first = Find(records, quoted.name);
        ASSERT_NE(nullptr, first);
        const CTask& task = first->task;
        EXPECT_EQ(4097, task.GetTransportStreamId());
        EXPECT_EQ(258, task.GetServiceId());
        EXPECT_TRUE(task.GetCloseAfter());
        EXPECT_EQ(u"C:\\My Videos\\Tolvik recordings\\a b.ts", task.GetFilePath());
        EXPECT_EQ(u"News", task.GetComment());
        EXPECT_EQ(u"TV", task.GetCreator());
        EXPECT_EQ(45 * 60, task.GetDuration());
        EXPECT_EQ(static_cast<uint32_t>(CTask::kOnce), task.GetTriggerType());
        std::tm local = {};
        local.tm_year = 131;
        local.tm_mon = 2;
        local.tm_mday = 14;
        local.tm_hour = 20;
        local.tm_min = 15;
        local.tm_isdst = -1;
        EXPECT_EQ(static_cast<int64_t>(std::mktime(&local)), task.GetStart());
        EXPECT_TRUE(first->hasStart);
        EXPECT_TRUE(first->hasJob);

        // Stored without a trigger, Wine's scheduler gives the job one of its own when it is read
        // again; the job is listed either way.
        CScheduledRecording* none = Find(records, untriggered.name);
        ASSERT_NE(nullptr, none);
        EXPECT_EQ(5, none->task.GetTransportStreamId());
        CScheduledRecording* every = Find(records, daily.name);
        ASSERT_NE(nullptr, every);
        EXPECT_EQ(static_cast<uint32_t>(CTask::kDaily), every->task.GetTriggerType());
        EXPECT_EQ(0, every->task.GetInterval());
        CScheduledRecording* other = Find(records, foreign.name);
        ASSERT_NE(nullptr, other);
        EXPECT_EQ(0, other->task.GetTransportStreamId());

        // Edit: another channel, the spaced path kept whole; removal of the untriggered one.
        first->task.SetRecording(4098, 300, first->task.GetStart(), first->task.GetDuration(),
                                 first->task.GetFilePath(), first->task.GetCloseAfter());
        first->changed = true;
        none->deleted = true;
        // A new record, written by one Apply and removed by the next.
        auto added = std::make_unique<CScheduledRecording>();
        added->task.SetTaskName(reinterpret_cast<const char16_t*>((L"QORSR_7_" + stem).c_str()));
        added->task.SetApplicationName(u"C:\\Program Files\\Tolvik\\Tolvik.exe");
        added->task.SetRecording(1, 2, first->task.GetStart(), 600, u"C:\\new one.ts", false);
        added->changed = true;
        records.push_back(std::move(added));

        std::vector<CString> notSaved, notDeleted;
        ASSERT_TRUE(SaveScheduledRecordings(records, &notSaved, &notDeleted));
        EXPECT_TRUE(notSaved.empty());
        EXPECT_TRUE(notDeleted.empty());
        EXPECT_FALSE(first->changed);
        EXPECT_EQ(nullptr, Find(records, untriggered.name));
        EXPECT_EQ(L"/rec 4098 300 45 1 \"C:\\My Videos\\Tolvik recordings\\a b.ts\"", Parameters(scheduler, quoted.name));
        EXPECT_EQ(L"<gone>", Parameters(scheduler, untriggered.name));
        EXPECT_EQ(L"/rec 1 2 10 0 \"C:\\new one.ts\"", Parameters(scheduler, L"QORSR_7_" + stem));

        // The new record keeps its job: an edit updates it, a removal deletes it.
        CScheduledRecording* again = Find(records, L"QORSR_7_" + stem);
        ASSERT_NE(nullptr, again);
        EXPECT_TRUE(again->hasJob);
        again->task.SetRecording(1, 3, again->task.GetStart(), 600, u"C:\\new one.ts", false);
        again->changed = true;
        ASSERT_TRUE(SaveScheduledRecordings(records, &notSaved, &notDeleted));
        EXPECT_TRUE(notSaved.empty());
        EXPECT_EQ(L"/rec 1 3 10 0 \"C:\\new one.ts\"", Parameters(scheduler, L"QORSR_7_" + stem));
        again->deleted = true;
        ASSERT_TRUE(SaveScheduledRecordings(records, &notSaved, &notDeleted));
        ASSERT_TRUE(SaveScheduledRecordings(records, &notSaved, &notDeleted)); // twice: nothing left to do
        EXPECT_EQ(L"<gone>", Parameters(scheduler, L"QORSR_7_" + stem));
        EXPECT_TRUE(notDeleted.empty());
    }
    // Read again, the edited job gives the same record.
    {
        CScheduledRecordings records;
        ASSERT_TRUE(LoadScheduledRecordings(records));
        CScheduledRecording* first = Find(records, quoted.name);
        ASSERT_NE(nullptr, first);
        EXPECT_EQ(300, first->task.GetServiceId());
        EXPECT_EQ(u"C:\\My Videos\\Tolvik recordings\\a b.ts", first->task.GetFilePath());
    }
    for (const CJobSpec* spec : { &quoted, &lower, &inside, &untriggered, &daily, &foreign })
        scheduler->Delete(spec->name.c_str());
    scheduler->Release();
}

} // namespace
