#include "dvb/libDVB/si/SITime.h"

#include <cmath>

namespace libDVB {

namespace {

constexpr int64_t kMjdOf1970 = 40587; // 1970-01-01
constexpr int64_t kMjdOf1971 = 40952; // 1971-01-01

} // namespace

void MjdToDate(uint32_t mjd, int& year, int& month, int& day)
{
    const double m = mjd;
    const double yp = std::floor((m - 15078.2) / 365.25);
    const double mp = std::floor((m - 14956.1 - std::floor(yp * 365.25)) / 30.6001);
    day = static_cast<int>(m - 14956 - std::floor(yp * 365.25) - std::floor(mp * 30.6001));
    const int k = (mp == 14 || mp == 15) ? 1 : 0;
    year = static_cast<int>(yp) + k + 1900;
    month = static_cast<int>(mp) - 1 - 12 * k;
}

int64_t MjdBcdToTime(const uint8_t* field)
{
    const int64_t mjd = (field[0] << 8) | field[1];
    const bool undefined = (field[0] & field[1] & field[2] & field[3] & field[4]) == 0xFF;
    if (mjd < kMjdOf1971 || undefined)
        return 0;
    // Days since the epoch are exact in every calendar year; no local-time round trip, so half-hour
    // zones and daylight-saving changes cannot shift the instant.
    return (mjd - kMjdOf1970) * 86400 + BcdToInt(field[2]) * 3600 + BcdToInt(field[3]) * 60 + BcdToInt(field[4]);
}

int64_t BcdDuration(const uint8_t* field)
{
    return (static_cast<int64_t>(BcdToInt(field[0])) * 60 + BcdToInt(field[1])) * 60 + BcdToInt(field[2]);
}

} // namespace libDVB
