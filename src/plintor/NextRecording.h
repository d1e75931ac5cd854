// When a scheduled recording next runs, and which form its "Next recording" text takes: a pure
// function of the record and the current instant, in the local calendar.
#pragma once

#include <cstdint>

namespace plintor {

struct CNextRecording {
    enum Form {
        kNever,               // the next start has passed
        kToday,               // "Today S - E"
        kTodayUntilTomorrow,  // "Today S - Tomorrow E"
        kTomorrow,            // "Tomorrow S - E"
        kTomorrowUntilLater,  // "Tomorrow S - date E"
        kSameDay,             // "date S - E"
        kOtherDays,           // "date S - date E"
    };
    Form form = kNever;
    int64_t start = 0; // seconds since 1970 (UTC), at a whole local minute
    int64_t end = 0;
};

// kind 0 once, 1 daily (every interval days), 2 weekly (every interval weeks on the weekdays of
// mask, bit 0 Sunday .. bit 6 Saturday). The days are calendar days, so the local time of day
// stays across daylight-saving changes; interval 0 counts as 1, mask bits above 6 are ignored
// and a weekly record without a weekday runs once; weeks count from the week (Sunday first) of
// the first start. Instants before 1970 are not supported.
CNextRecording NextRecording(uint32_t kind, int64_t start, int64_t duration, uint16_t interval, uint16_t weekDays,
                             int64_t now);

} // namespace plintor
