// PSI/SI time fields after ETSI EN 300 468 annex C: 16-bit Modified Julian Date followed by BCD
// hour, minute and second, and 24-bit BCD durations. Times are 64-bit seconds since 1970, UTC.
#pragma once

#include <cstdint>

namespace libDVB {

// The two decimal digits of a BCD byte (0x23 = 23). Nibbles above 9 are taken at face value.
inline uint32_t BcdToInt(uint8_t value) { return (value >> 4) * 10u + (value & 0x0F); }

// Calendar date of an MJD by the formula of annex C (valid from 1900-03-01 to 2100-02-28).
void MjdToDate(uint32_t mjd, int& year, int& month, int& day);

// The UTC instant of a 40-bit MJD + BCD time field (5 bytes). The field is UTC by definition, so
// the result does not depend on the machine's time zone. A date before 1971 gives 0, and so does
// a field of all ones, which says the time is undefined (for instance an NVOD reference event).
int64_t MjdBcdToTime(const uint8_t* field);

// Seconds of a 24-bit BCD duration (hh mm ss).
int64_t BcdDuration(const uint8_t* field);

} // namespace libDVB
