#include "plintor/NextRecording.h"

#include <ctime>

#include "base/Clock.h"

namespace plintor {

namespace {

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// The local calendar day (days since 1970-01-01) of an instant.
int64_t LocalDay(int64_t utc) { return FloorDiv(utc + base::LocalUtcOffset(utc), 86400); }

int64_t WeekDay(int64_t day) { return (day % 7 + 7 + 4) % 7; } // 1970-01-01 was a Thursday (4)

// The instant of a local calendar day at hour:minute; the calendar decides daylight saving.
int64_t LocalInstant(int64_t day, int hour, int minute)
{
    int64_t year = 0;
    unsigned month = 0, date = 0;
    base::CivilFromDays(day, &year, &month, &date);
    std::tm local{};
    local.tm_year = static_cast<int>(year - 1900);
    local.tm_mon = static_cast<int>(month) - 1;
    local.tm_mday = static_cast<int>(date);
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_isdst = -1;
    return static_cast<int64_t>(std::mktime(&local));
}

} // namespace

CNextRecording NextRecording(uint32_t kind, int64_t start, int64_t duration, uint16_t interval, uint16_t weekDays,
                             int64_t now)
{
    const int64_t local = start + base::LocalUtcOffset(start);
    const int64_t firstDay = FloorDiv(local, 86400);
    const int hour = static_cast<int>(local - firstDay * 86400) / 3600;
    const int minute = static_cast<int>(local - firstDay * 86400) % 3600 / 60;
    const int64_t today = LocalDay(now);
    const int64_t step = interval == 0 ? 1 : interval;
    const unsigned mask = weekDays & 0x7F;

    int64_t day = firstDay;
    if (kind == 1) {
        if (today > day)
            day += (today - day - 1) / step * step; // at most a step before today
        while (LocalInstant(day, hour, minute) < now)
            day += step;
    } else if (kind == 2 && mask != 0) {
        const int64_t firstWeek = firstDay - WeekDay(firstDay);
        int64_t candidate = today - 1 > firstDay ? today - 1 : firstDay;
        // Within step weeks and one more every weekday of a running week has come round.
        for (const int64_t last = candidate + 7 * step + 7; candidate <= last; ++candidate) {
            const int64_t week = (candidate - WeekDay(candidate) - firstWeek) / 7;
            if ((mask >> WeekDay(candidate) & 1) != 0 && week % step == 0 &&
                LocalInstant(candidate, hour, minute) >= now)
                break;
        }
        day = candidate;
    }

    CNextRecording next;
    next.start = LocalInstant(day, hour, minute);
    next.end = next.start + duration;
    if (next.start < now) {
        next.form = CNextRecording::kNever;
        return next;
    }
    const int64_t startDay = LocalDay(next.start);
    const int64_t endDay = LocalDay(next.end);
    if (startDay == today && endDay == today)
        next.form = CNextRecording::kToday;
    else if (startDay == today && endDay == today + 1)
        next.form = CNextRecording::kTodayUntilTomorrow;
    else if (startDay == today + 1 && endDay == today + 1)
        next.form = CNextRecording::kTomorrow;
    else if (startDay == today + 1)
        next.form = CNextRecording::kTomorrowUntilLater;
    else
        next.form = startDay == endDay ? CNextRecording::kSameDay : CNextRecording::kOtherDays;
    return next;
}

} // namespace plintor
