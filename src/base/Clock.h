// Wall-clock time in seconds since 1970 (UTC) and the local zone's offset from UTC, as the EPG and
// scheduling code need them. The offset is the real one at the given instant: half-hour zones and
// daylight-saving changes included.
#pragma once

#include <cstdint>

namespace base {

int64_t UtcNow();
// Seconds to add to a UTC instant to get local wall-clock time at that instant.
int64_t LocalUtcOffset(int64_t utc);
// Days since 1970-01-01 of a proleptic Gregorian date (month 1..12).
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day);
// The proleptic Gregorian date of a day count since 1970-01-01.
void CivilFromDays(int64_t days, int64_t* year, unsigned* month, unsigned* day);

} // namespace base
