#include "dvb/DVBPlaybackCore/GuideRecording.h"

#include "base/Clock.h"

namespace DVBPlaybackCore {

HRESULT ComposeGuideRecording(const libDVB::CEITEvent& event, uint32_t triggerType,
                              const std::u16string& programFolder, CTask* task)
{
    if (!task || event.service_id == 0 || event.duration < 60 || triggerType > CTask::kWeekly)
        return E_INVALIDARG;
    CTask composed;
    composed.SetRecording(event.transport_stream_id, event.service_id, event.start, event.duration, u"", true);
    CTask::CTriggerTimes times{};
    if (!composed.GetTriggerTimes(&times))
        return E_INVALIDARG;

    task->SetApplicationName(programFolder + u"\\Tolvik.exe");
    task->SetRecording(event.transport_stream_id, event.service_id, event.start, event.duration, u"", true);
    task->SetComment(event.name);
    task->SetWorkingDirectory(programFolder);
    task->SetCreator(u"A");
    task->SetInterval(1);
    task->SetTriggerType(triggerType);
    if (triggerType == CTask::kWeekly) {
        // 1970-01-01 was a Thursday; the scheduler's weekdays start on Sunday.
        const int64_t days = base::DaysFromCivil(times.beginYear, times.beginMonth, times.beginDay);
        const int weekday = static_cast<int>(((days + 4) % 7 + 7) % 7);
        task->SetWeekDays(weekday == 0, weekday == 1, weekday == 2, weekday == 3, weekday == 4, weekday == 5,
                          weekday == 6);
    }
    return S_OK;
}

} // namespace DVBPlaybackCore
