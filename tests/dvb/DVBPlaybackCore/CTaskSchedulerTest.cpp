// Scheduled recordings written as jobs of the real Task Scheduler 1.0 service and read back
// through the scheduler and, byte by byte, from the job file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "TaskSchedulerKit.h"
#include "dvb/DVBPlaybackCore/CTask.h"
#include "support/TestMedia.h"

using DVBPlaybackCore::CTask;
using namespace test;

namespace {

std::u16string U16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

struct TaskSchedulerTest : ::testing::Test {
    void SetUp() override
    {
        scheduler = OpenScheduler();
        ASSERT_NE(scheduler, nullptr) << "no Task Scheduler";
    }
    void TearDown() override
    {
        if (!scheduler)
            return;
        for (const auto& name : made)
            scheduler->Delete(name.c_str());
        scheduler->Release();
    }
    // A recording tomorrow at this time, 90 minutes, into a folder with blanks in its name.
    void Fill(CTask& task, const std::wstring& name, uint32_t type)
    {
        made.push_back(name);
        start = UtcNow() / 60 * 60 + 86400;
        task.SetTaskName(U16(name));
        task.SetApplicationName(u"C:\\Program Files\\Tolvik\\Tolvik.exe");
        task.SetWorkingDirectory(u"C:\\Program Files\\Tolvik");
        task.SetComment(u"News at ten");
        task.SetCreator(u"A");
        task.SetRecording(1025, 28106, start, 5400, u"C:\\users\\tv\\My Recordings\\news.mpg", true);
        task.SetTriggerType(type);
        task.SetInterval(type == CTask::kOnce ? 0 : 1);
        task.SetWeekDays(true, false, false, false, false, false, true);
    }
    TASK_TRIGGER ReadTrigger(ITask* job)
    {
        TASK_TRIGGER values{};
        WORD count = 0;
        EXPECT_EQ(job->GetTriggerCount(&count), S_OK);
        EXPECT_EQ(count, 1);
        ITaskTrigger* trigger = nullptr;
        if (SUCCEEDED(job->GetTrigger(0, &trigger)) && trigger) {
            EXPECT_EQ(trigger->GetTrigger(&values), S_OK);
            trigger->Release();
        }
        return values;
    }
    void ExpectStart(const TASK_TRIGGER& t)
    {
        const SYSTEMTIME local = LocalTimeOf(start);
        EXPECT_EQ(t.wBeginYear, local.wYear);
        EXPECT_EQ(t.wBeginMonth, local.wMonth);
        EXPECT_EQ(t.wBeginDay, local.wDay);
        EXPECT_EQ(t.wStartHour, local.wHour);
        EXPECT_EQ(t.wStartMinute, local.wMinute);
        EXPECT_EQ(t.MinutesDuration, 90u);
        EXPECT_EQ(t.MinutesInterval, 0u);
        EXPECT_EQ(t.rgFlags, 0u);
    }
    ITaskScheduler* scheduler = nullptr;
    std::vector<std::wstring> made;
    int64_t start = 0;
    CComApartment com;
};

} // namespace

TEST_F(TaskSchedulerTest, SaveThenActivateGivesBackEveryField)
{
    for (uint32_t type : {CTask::kOnce, CTask::kDaily, CTask::kWeekly}) {
        SCOPED_TRACE(type);
        const std::wstring name = UniqueJobName(L"fields");
        {
            CTask task;
            Fill(task, name, type);
            ASSERT_EQ(task.Save(), S_OK);
        }
        ITask* job = OpenJob(scheduler, name);
        ASSERT_NE(job, nullptr);
        EXPECT_EQ(JobText([&](LPWSTR* t) { return job->GetApplicationName(t); }), L"C:\\Program Files\\Tolvik\\Tolvik.exe");
        EXPECT_EQ(JobText([&](LPWSTR* t) { return job->GetParameters(t); }),
                  L"/rec 1025 28106 90 1 \"C:\\users\\tv\\My Recordings\\news.mpg\"");
        EXPECT_EQ(JobText([&](LPWSTR* t) { return job->GetWorkingDirectory(t); }), L"C:\\Program Files\\Tolvik");
        EXPECT_EQ(JobText([&](LPWSTR* t) { return job->GetComment(t); }), L"News at ten");
        EXPECT_EQ(JobText([&](LPWSTR* t) { return job->GetCreator(t); }), L"A");
        DWORD flags = 0;
        EXPECT_EQ(job->GetFlags(&flags), S_OK);
        EXPECT_EQ(flags, 0x2203u);
        const TASK_TRIGGER t = ReadTrigger(job);
        ExpectStart(t);
        if (type == CTask::kOnce) {
            EXPECT_EQ(t.TriggerType, TASK_TIME_TRIGGER_ONCE);
        } else if (type == CTask::kDaily) {
            EXPECT_EQ(t.TriggerType, TASK_TIME_TRIGGER_DAILY);
            EXPECT_EQ(t.Type.Daily.DaysInterval, 1);
        } else {
            EXPECT_EQ(t.TriggerType, TASK_TIME_TRIGGER_WEEKLY);
            EXPECT_EQ(t.Type.Weekly.WeeksInterval, 1);
            EXPECT_EQ(t.Type.Weekly.rgfDaysOfTheWeek, 0x41);
        }
        job->Release();
    }
}

TEST_F(TaskSchedulerTest, TheJobFileHoldsTheRecording)
{
    const std::wstring name = UniqueJobName(L"file");
    CTask task;
    Fill(task, name, CTask::kWeekly);
    task.SetInterval(2);
    ASSERT_EQ(task.Save(), S_OK);

    wchar_t windows[MAX_PATH];
    ASSERT_NE(GetWindowsDirectoryW(windows, MAX_PATH), 0u);
    const std::string job = HostPath(std::wstring(windows) + L"\\Tasks\\" + name + L".job");
    wchar_t temp[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring output = std::wstring(temp) + name + L".txt";
    const std::string hostOutput = HostPath(output);
    ASSERT_FALSE(job.empty());
    ASSERT_FALSE(hostOutput.empty());
    const char* source = std::getenv("TOLVIK_SOURCE");
    ASSERT_NE(source, nullptr);
    const std::string reader = std::string(source) + "/tests/dvb/DVBPlaybackCore/read_job.py";
    ASSERT_TRUE(StartHostProgram("/usr/bin/python3 \"" + reader + "\" \"" + job + "\" \"" + hostOutput + "\""));
    // The reader replaces its output in one step.
    std::map<std::string, std::string> fields;
    for (int attempt = 0; attempt < 600 && fields.empty(); ++attempt) {
        std::ifstream in(output.c_str());
        std::string line;
        while (std::getline(in, line))
            fields[line.substr(0, line.find(' '))] = line.substr(line.find(' ') + 1);
        if (fields.empty())
            Sleep(50);
    }
    DeleteFileW(output.c_str());
    ASSERT_EQ(fields.count("error"), 0u) << fields["error"];
    const SYSTEMTIME local = LocalTimeOf(start);
    char begin[32];
    snprintf(begin, sizeof begin, "%04u-%02u-%02u %02u:%02u", local.wYear, local.wMonth, local.wDay, local.wHour,
             local.wMinute);
    const std::map<std::string, std::string> expected = {
        {"flags", "0x2203"},
        {"application", "C:\\Program Files\\Tolvik\\Tolvik.exe"},
        {"parameters", "/rec 1025 28106 90 1 \"C:\\users\\tv\\My Recordings\\news.mpg\""},
        {"working_directory", "C:\\Program Files\\Tolvik"},
        {"author", "A"},
        {"comment", "News at ten"},
        {"triggers", "1"},
        {"trigger0_begin", begin},
        {"trigger0_duration", "90"},
        {"trigger0_interval", "0"},
        {"trigger0_flags", "0"},
        {"trigger0_type", "2"},
        {"trigger0_specific", "2 65 0"},
    };
    for (const auto& e : expected)
        EXPECT_EQ(fields[e.first], e.second) << e.first;
}

TEST_F(TaskSchedulerTest, AnExistingNameIsNotReplaced)
{
    const std::wstring name = UniqueJobName(L"twice");
    CTask first;
    Fill(first, name, CTask::kOnce);
    ASSERT_EQ(first.Save(), S_OK);
    CTask second;
    Fill(second, name, CTask::kDaily);
    second.SetRecording(1, 2, start, 60, u"", false);
    EXPECT_EQ(second.Save(), E_FAIL);
    ITask* job = OpenJob(scheduler, name);
    ASSERT_NE(job, nullptr);
    EXPECT_EQ(JobText([&](LPWSTR* t) { return job->GetParameters(t); }),
              L"/rec 1025 28106 90 1 \"C:\\users\\tv\\My Recordings\\news.mpg\"");
    EXPECT_EQ(ReadTrigger(job).TriggerType, TASK_TIME_TRIGGER_ONCE);
    job->Release();
}

TEST_F(TaskSchedulerTest, AJobThatWouldNeverRunIsNotWritten)
{
    struct Case {
        const wchar_t* what;
        uint32_t type;
        uint16_t interval;
        bool anyDay;
        int64_t start;
    };
    const int64_t soon = UtcNow() + 86400;
    for (const Case& c : {Case{L"nodays", CTask::kWeekly, 1, false, soon}, Case{L"noweeks", CTask::kWeekly, 0, true, soon},
                          Case{L"nodaily", CTask::kDaily, 0, true, soon}, Case{L"far", CTask::kOnce, 0, true, 253402300800},
                          Case{L"before", CTask::kOnce, 0, true, -1}}) {
        SCOPED_TRACE(std::string(c.what, c.what + wcslen(c.what)));
        const std::wstring name = UniqueJobName(c.what);
        CTask task;
        Fill(task, name, c.type);
        task.SetInterval(c.interval);
        task.SetWeekDays(c.anyDay, false, false, false, false, false, false);
        task.SetRecording(1, 2, c.start, 60, u"", true);
        EXPECT_EQ(task.Save(), E_INVALIDARG);
        EXPECT_EQ(OpenJob(scheduler, name), nullptr);
    }
    CTask unnamed;
    unnamed.SetRecording(1, 2, soon, 60, u"", true);
    EXPECT_EQ(unnamed.Save(), E_INVALIDARG);
}

TEST_F(TaskSchedulerTest, AJobTheSchedulerCannotStoreIsAFailure)
{
    // The job file would go into a folder that does not exist.
    const std::wstring name = UniqueJobName(L"nofolder") + L"\\job";
    CTask task;
    Fill(task, name, CTask::kOnce);
    const HRESULT hr = task.Save();
    EXPECT_TRUE(FAILED(hr)) << std::hex << hr;
    EXPECT_NE(hr, E_FAIL) << "the failure of storing it, not of creating it";
    EXPECT_EQ(OpenJob(scheduler, name), nullptr);
}

TEST_F(TaskSchedulerTest, AnExistingJobKeepsItsTriggerFlagsAndOneWithoutTriggerGetsOne)
{
    for (bool stored : {false, true}) {
        SCOPED_TRACE(stored);
        const std::wstring name = UniqueJobName(L"existing");
        made.push_back(name);
        IUnknown* item = nullptr;
        ASSERT_EQ(scheduler->NewWorkItem(name.c_str(), CLSID_CTask, IID_ITask, &item), S_OK);
        ITask* job = nullptr;
        ASSERT_EQ(item->QueryInterface(IID_ITask, reinterpret_cast<void**>(&job)), S_OK);
        item->Release();
        DWORD oldFlags = 0;
        if (stored) {
            // Stored and opened again, the job has the scheduler's own first trigger.
            job->SetApplicationName(L"C:\\old.exe");
            IPersistFile* persist = nullptr;
            ASSERT_EQ(job->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)), S_OK);
            ASSERT_EQ(persist->Save(nullptr, FALSE), S_OK);
            persist->Release();
            job->Release();
            job = OpenJob(scheduler, name);
            ASSERT_NE(job, nullptr);
            oldFlags = ReadTrigger(job).rgFlags;
        } else {
            ITaskTrigger* none = nullptr;
            EXPECT_TRUE(FAILED(job->GetTrigger(0, &none)));
            EXPECT_EQ(none, nullptr);
        }
        {
            CTask task;
            Fill(task, name, CTask::kWeekly);
            made.pop_back();
            task.AttachJob(job); // the record releases it
            ASSERT_EQ(task.Save(), S_OK);
        }
        job = OpenJob(scheduler, name);
        ASSERT_NE(job, nullptr);
        EXPECT_EQ(JobText([&](LPWSTR* t) { return job->GetApplicationName(t); }), L"C:\\Program Files\\Tolvik\\Tolvik.exe");
        TASK_TRIGGER t = ReadTrigger(job);
        EXPECT_EQ(t.rgFlags, oldFlags);
        t.rgFlags = 0;
        ExpectStart(t);
        EXPECT_EQ(t.TriggerType, TASK_TIME_TRIGGER_WEEKLY);
        EXPECT_EQ(t.Type.Weekly.rgfDaysOfTheWeek, 0x41);
        job->Release();
    }
}
