// The recording the guide's context menu schedules for an event: the viewer started with "/rec"
// at the event's start for its duration, closing afterwards, once, every day, or every week on the
// weekday the event starts in local time (the day the scheduler's trigger begins on).
#pragma once

#include <cstdint>
#include <string>

#include "base/Result.h"
#include "dvb/DVBPlaybackCore/CTask.h"
#include "dvb/libDVB/epg/CEITEvent.h"

namespace DVBPlaybackCore {

// Fills `task` with everything but the job's name. `triggerType` is CTask::kOnce, kDaily or
// kWeekly; `programFolder` is the viewer's folder without a closing backslash. The event's start
// is the UTC instant the guide holds and goes to the task unchanged: the task derives the
// trigger's local time from it once. E_INVALIDARG, with `task` untouched, for an event with
// nothing to record: no service, less than a minute, or a start no trigger can hold.
HRESULT ComposeGuideRecording(const libDVB::CEITEvent& event, uint32_t triggerType,
                              const std::u16string& programFolder, CTask* task);

} // namespace DVBPlaybackCore
