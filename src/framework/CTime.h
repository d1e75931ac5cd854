// A point in time as seconds since 1970 (UTC), made from a local calendar date and time.
// Platform-neutral: the C library's local-time rule.
#pragma once

#include <cstdint>

class CTime {
public:
    CTime() = default;
    explicit CTime(int64_t time) : m_time(time) {}
    // The local wall-clock time; dst -1 leaves the daylight-saving state to the system. A field
    // outside its calendar range (month 1-12, day 1-31, hour 0-23, minute and second 0-59,
    // year 1970-3000) gives time 0.
    CTime(int year, int month, int day, int hour, int minute, int second, int dst = -1);

    int64_t GetTime() const { return m_time; }
    // The local calendar fields of the time.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;

private:
    int64_t m_time = 0;
};
