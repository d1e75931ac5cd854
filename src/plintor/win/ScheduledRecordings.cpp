#include "plintor/win/ScheduledRecordings.h"

#include <objbase.h>
#include <mstask.h>

#include <ctime>
#include <string>

#include "plintor/JobParameters.h"

const wchar_t kJobPrefix[] = L"QORSR_";

namespace {

std::u16string Text16(const wchar_t* text) { return std::u16string(reinterpret_cast<const char16_t*>(text)); }
const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

ITaskScheduler* OpenScheduler()
{
    ITaskScheduler* scheduler = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                                  reinterpret_cast<void**>(&scheduler))))
        return nullptr;
    return scheduler;
}

ITask* ActivateJob(ITaskScheduler* scheduler, const wchar_t* name)
{
    IUnknown* unknown = nullptr;
    if (FAILED(scheduler->Activate(name, IID_ITask, &unknown)) || !unknown)
        return nullptr;
    ITask* job = nullptr;
    unknown->QueryInterface(IID_ITask, reinterpret_cast<void**>(&job));
    unknown->Release();
    return job;
}

template <class Getter> std::u16string JobText(Getter get)
{
    LPWSTR text = nullptr;
    if (FAILED(get(&text)) || !text)
        return std::u16string();
    std::u16string copy = Text16(text);
    ::CoTaskMemFree(text);
    return copy;
}

// The enumerator may hand out the job file's name ("QORSR_1.job"); the scheduler's other calls
// take the name without it.
std::wstring JobName(const wchar_t* enumerated)
{
    std::wstring name(enumerated);
    if (name.size() > 4 && ::lstrcmpiW(name.c_str() + name.size() - 4, L".job") == 0)
        name.resize(name.size() - 4);
    return name;
}

void FillRecord(ITask* job, const std::wstring& name, CScheduledRecording* record)
{
    DVBPlaybackCore::CTask& task = record->task;
    task.SetTaskName(Text16(name.c_str()));
    task.SetComment(JobText([job](LPWSTR* text) { return job->GetComment(text); }));
    task.SetCreator(JobText([job](LPWSTR* text) { return job->GetCreator(text); }));
    task.SetApplicationName(JobText([job](LPWSTR* text) { return job->GetApplicationName(text); }));
    task.SetWorkingDirectory(JobText([job](LPWSTR* text) { return job->GetWorkingDirectory(text); }));
    DVBPlaybackCore::CRecordingCommand command;
    plintor::ParseJobParameters(JobText([job](LPWSTR* text) { return job->GetParameters(text); }), &command);

    int64_t start = 0;
    int64_t duration = command.minutes * 60;
    // A job may have no trigger at all: the scheduler then says so and hands out nothing.
    ITaskTrigger* trigger = nullptr;
    TASK_TRIGGER values = {};
    values.cbTriggerSize = sizeof(values);
    if (SUCCEEDED(job->GetTrigger(0, &trigger)) && trigger) {
        if (SUCCEEDED(trigger->GetTrigger(&values))) {
            std::tm local = {};
            local.tm_year = values.wBeginYear - 1900;
            local.tm_mon = values.wBeginMonth - 1;
            local.tm_mday = values.wBeginDay;
            local.tm_hour = values.wStartHour;
            local.tm_min = values.wStartMinute;
            local.tm_isdst = -1; // the calendar decides daylight saving
            std::time_t made = std::mktime(&local);
            if (made != static_cast<std::time_t>(-1)) {
                start = static_cast<int64_t>(made);
                record->hasStart = true;
            }
            duration = static_cast<int64_t>(values.MinutesDuration) * 60;
            if (values.TriggerType == TASK_TIME_TRIGGER_DAILY) {
                task.SetTriggerType(DVBPlaybackCore::CTask::kDaily);
                task.SetInterval(values.Type.Daily.DaysInterval);
            } else if (values.TriggerType == TASK_TIME_TRIGGER_WEEKLY) {
                task.SetTriggerType(DVBPlaybackCore::CTask::kWeekly);
                task.SetInterval(values.Type.Weekly.WeeksInterval);
                WORD days = values.Type.Weekly.rgfDaysOfTheWeek;
                task.SetWeekDays(days & TASK_SUNDAY, days & TASK_MONDAY, days & TASK_TUESDAY, days & TASK_WEDNESDAY,
                                 days & TASK_THURSDAY, days & TASK_FRIDAY, days & TASK_SATURDAY);
            } else {
                task.SetTriggerType(DVBPlaybackCore::CTask::kOnce);
            }
        }
        trigger->Release();
    }
    task.SetRecording(command.transportStreamId, command.serviceId, start, duration, command.path, command.closeAfter);
    task.AttachJob(job);
    record->hasJob = true;
}

} // namespace

bool LoadScheduledRecordings(CScheduledRecordings& records)
{
    ITaskScheduler* scheduler = OpenScheduler();
    if (!scheduler)
        return false;
    IEnumWorkItems* items = nullptr;
    if (FAILED(scheduler->Enum(&items)) || !items) {
        scheduler->Release();
        return true;
    }
    const size_t prefixLength = ::lstrlenW(kJobPrefix);
    LPWSTR* names = nullptr;
    ULONG fetched = 0;
    while (items->Next(1, &names, &fetched) == S_OK && fetched == 1 && names) {
        std::wstring name = names[0] ? JobName(names[0]) : std::wstring();
        ::CoTaskMemFree(names[0]);
        ::CoTaskMemFree(names);
        names = nullptr;
        if (name.compare(0, prefixLength, kJobPrefix) != 0)
            continue;
        ITask* job = ActivateJob(scheduler, name.c_str());
        if (!job)
            continue;
        auto record = std::make_unique<CScheduledRecording>();
        FillRecord(job, name, record.get());
        records.push_back(std::move(record));
    }
    items->Release();
    scheduler->Release();
    return true;
}

bool SaveScheduledRecordings(CScheduledRecordings& records, std::vector<CString>* notSaved,
                             std::vector<CString>* notDeleted)
{
    ITaskScheduler* scheduler = OpenScheduler();
    if (!scheduler)
        return false;
    for (size_t i = 0; i < records.size();) {
        CScheduledRecording& record = *records[i];
        const wchar_t* name = Wide(record.task.GetTaskName());
        if (record.deleted) {
            // By name: a record written as new by an earlier Apply has a job as well.
            if (record.hasJob) {
                HRESULT hr = scheduler->Delete(name);
                if (FAILED(hr) && hr != HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) {
                    notDeleted->push_back(CString(name));
                    ++i;
                    continue;
                }
            }
            records.erase(records.begin() + static_cast<ptrdiff_t>(i));
            continue;
        }
        if (record.changed) {
            if (SUCCEEDED(record.task.Save())) {
                record.changed = false;
                if (!record.hasJob) {
                    // The record keeps its new job, so that a later edit updates it.
                    if (ITask* job = ActivateJob(scheduler, name))
                        record.task.AttachJob(job);
                    record.hasJob = true;
                }
            } else {
                notSaved->push_back(CString(name));
            }
        }
        ++i;
    }
    scheduler->Release();
    return true;
}
