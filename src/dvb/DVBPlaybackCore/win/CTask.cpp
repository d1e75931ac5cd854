// Writing a scheduled recording as a Task Scheduler 1.0 job.
#include "dvb/DVBPlaybackCore/CTask.h"

#include <objbase.h>
#include <lm.h>
#include <mstask.h>

namespace DVBPlaybackCore {

namespace {

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

template <class T> void ReleaseAndClear(T*& object)
{
    if (object) {
        object->Release();
        object = nullptr;
    }
}

// COM for the duration of a call, unless the thread has it already in another model.
class CComScope {
public:
    CComScope() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~CComScope()
    {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }

private:
    HRESULT m_result;
};

// "domain\user" of the interactive user; empty when it cannot be found.
std::wstring LoggedOnAccount()
{
    WKSTA_USER_INFO_1* info = nullptr;
    std::wstring account;
    if (NetWkstaUserGetInfo(nullptr, 1, reinterpret_cast<BYTE**>(&info)) == NERR_Success && info) {
        account = std::wstring(info->wkui1_logon_domain ? info->wkui1_logon_domain : L"") + L"\\" +
                  (info->wkui1_username ? info->wkui1_username : L"");
    }
    if (info)
        NetApiBufferFree(info);
    return account;
}

} // namespace

CTask::~CTask() { ReleaseAndClear(m_job); }

void CTask::AttachJob(ITask* job)
{
    ReleaseAndClear(m_job);
    m_job = job;
}

bool CTask::JobExists(const std::u16string& name)
{
    CComScope com;
    ITaskScheduler* scheduler = nullptr;
    if (FAILED(CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                                reinterpret_cast<void**>(&scheduler))))
        return false;
    IUnknown* existing = nullptr;
    const bool found = SUCCEEDED(scheduler->Activate(Wide(name), IID_ITask, &existing)) && existing;
    if (existing)
        existing->Release();
    scheduler->Release();
    return found;
}

HRESULT CTask::Save()
{
    // A job that would never run, or whose start the scheduler cannot hold, is not written.
    CTriggerTimes times{};
    if (m_taskName.empty() || !GetTriggerTimes(&times))
        return E_INVALIDARG;
    HRESULT hr = CheckRepetition();
    if (FAILED(hr))
        return hr;

    CComScope com;
    ITaskScheduler* scheduler = nullptr;
    ITask* job = m_job;
    bool created = false;
    if (!job) {
        if (FAILED(CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                                    reinterpret_cast<void**>(&scheduler))))
            return E_FAIL;
        // The scheduler would replace a job of the same name; another recording's job stays.
        IUnknown* existing = nullptr;
        if (SUCCEEDED(scheduler->Activate(Wide(m_taskName), IID_ITask, &existing))) {
            existing->Release();
            scheduler->Release();
            return E_FAIL;
        }
        IUnknown* item = nullptr;
        if (FAILED(scheduler->NewWorkItem(Wide(m_taskName), CLSID_CTask, IID_ITask, &item)) || !item) {
            scheduler->Release();
            return E_FAIL;
        }
        hr = item->QueryInterface(IID_ITask, reinterpret_cast<void**>(&job));
        item->Release();
        if (FAILED(hr) || !job) {
            scheduler->Release();
            return E_FAIL;
        }
        created = true;
    }

    ITaskTrigger* trigger = nullptr;
    IPersistFile* persist = nullptr;
    hr = job->SetApplicationName(Wide(m_applicationName));
    if (SUCCEEDED(hr))
        hr = job->SetParameters(Wide(m_parameters));
    if (SUCCEEDED(hr))
        hr = job->SetWorkingDirectory(Wide(m_workingDirectory));
    if (SUCCEEDED(hr))
        hr = job->SetComment(Wide(m_comment));
    if (SUCCEEDED(hr)) {
        const std::wstring account = LoggedOnAccount();
        if (!account.empty())
            hr = job->SetAccountInformation(account.c_str(), nullptr);
    }
    if (SUCCEEDED(hr))
        hr = job->SetCreator(Wide(m_creator));
    if (SUCCEEDED(hr))
        hr = job->SetFlags(TASK_FLAG_INTERACTIVE | TASK_FLAG_DELETE_WHEN_DONE | TASK_FLAG_HIDDEN |
                           TASK_FLAG_RUN_ONLY_IF_LOGGED_ON);
    TASK_TRIGGER values{};
    if (SUCCEEDED(hr)) {
        // An existing job keeps the flags of its trigger; one without a trigger gets one.
        WORD index = 0;
        if (!created && SUCCEEDED(job->GetTrigger(0, &trigger)) && trigger)
            hr = trigger->GetTrigger(&values);
        else
            hr = job->CreateTrigger(&index, &trigger);
    }
    if (SUCCEEDED(hr)) {
        values.cbTriggerSize = sizeof(TASK_TRIGGER);
        values.wBeginYear = times.beginYear;
        values.wBeginMonth = times.beginMonth;
        values.wBeginDay = times.beginDay;
        values.wStartHour = times.startHour;
        values.wStartMinute = times.startMinute;
        values.wEndYear = times.endYear;
        values.wEndMonth = times.endMonth;
        values.wEndDay = times.endDay;
        values.MinutesDuration = times.minutesDuration;
        values.MinutesInterval = 0;
        if (m_triggerType == kOnce) {
            values.TriggerType = TASK_TIME_TRIGGER_ONCE;
        } else if (m_triggerType == kDaily) {
            values.TriggerType = TASK_TIME_TRIGGER_DAILY;
            values.Type.Daily.DaysInterval = m_interval;
        } else if (m_triggerType == kWeekly) {
            values.TriggerType = TASK_TIME_TRIGGER_WEEKLY;
            values.Type.Weekly.WeeksInterval = m_interval;
            values.Type.Weekly.rgfDaysOfTheWeek = m_weekDays;
        }
        hr = trigger->SetTrigger(&values);
    }
    if (SUCCEEDED(hr))
        hr = job->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
    if (SUCCEEDED(hr))
        hr = persist->Save(nullptr, FALSE);

    ReleaseAndClear(persist);
    ReleaseAndClear(trigger);
    if (created) {
        job->Release();
        // Half a job must not start the viewer with what it lacks.
        if (FAILED(hr))
            scheduler->Delete(Wide(m_taskName));
    }
    ReleaseAndClear(scheduler);
    return FAILED(hr) ? hr : S_OK;
}

} // namespace DVBPlaybackCore
