// Scheduler jobs the configurator's tests write with their own Task Scheduler calls, as the
// configurator's recordings or as something else.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "../dvb/DVBPlaybackCore/TaskSchedulerKit.h"

namespace {

struct CJobSpec {
    std::wstring name;
    std::wstring parameters;
    bool trigger = true;
    WORD type = TASK_TIME_TRIGGER_ONCE;
    WORD interval = 0;
    std::wstring comment = L"News";
    WORD year = 2031;
};

void MakeJob(ITaskScheduler* scheduler, const CJobSpec& spec)
{
    IUnknown* item = nullptr;
    ASSERT_EQ(S_OK, scheduler->NewWorkItem(spec.name.c_str(), CLSID_CTask, IID_ITask, &item));
    ITask* job = nullptr;
    ASSERT_EQ(S_OK, item->QueryInterface(IID_ITask, reinterpret_cast<void**>(&job)));
    item->Release();
    job->SetApplicationName(L"C:\\Program Files\\Tolvik\\Tolvik.exe");
    job->SetParameters(spec.parameters.c_str());
    job->SetComment(spec.comment.c_str());
    job->SetCreator(L"TV");
    if (spec.trigger) {
        WORD index = 0;
        ITaskTrigger* trigger = nullptr;
        ASSERT_EQ(S_OK, job->CreateTrigger(&index, &trigger));
        TASK_TRIGGER values = {};
        values.cbTriggerSize = sizeof(values);
        values.wBeginYear = spec.year;
        values.wBeginMonth = 3;
        values.wBeginDay = 14;
        values.wStartHour = 20;
        values.wStartMinute = 15;
        values.MinutesDuration = 45;
        values.TriggerType = static_cast<TASK_TRIGGER_TYPE>(spec.type);
        if (spec.type == TASK_TIME_TRIGGER_DAILY)
            values.Type.Daily.DaysInterval = spec.interval;
        if (spec.type == TASK_TIME_TRIGGER_WEEKLY) {
            values.Type.Weekly.WeeksInterval = spec.interval;
            values.Type.Weekly.rgfDaysOfTheWeek = TASK_MONDAY | TASK_FRIDAY;
        }
        ASSERT_EQ(S_OK, trigger->SetTrigger(&values));
        trigger->Release();
    }
    IPersistFile* persist = nullptr;
    ASSERT_EQ(S_OK, job->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)));
    ASSERT_EQ(S_OK, persist->Save(nullptr, FALSE));
    persist->Release();
    job->Release();
}

} // namespace
