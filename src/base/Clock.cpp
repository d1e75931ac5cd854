#include "base/Clock.h"

#include <ctime>

namespace base {

int64_t UtcNow() { return static_cast<int64_t>(std::time(nullptr)); }

int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day)
{
    // Counting from March keeps the leap day at the end of the year.
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(year - era * 400);
    const unsigned doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t days, int64_t* year, unsigned* month, unsigned* day)
{
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    *day = doy - (153 * mp + 2) / 5 + 1;
    *month = mp < 10 ? mp + 3 : mp - 9;
    *year = static_cast<int64_t>(yoe) + era * 400 + (*month <= 2);
}

int64_t LocalUtcOffset(int64_t utc)
{
    const std::time_t t = static_cast<std::time_t>(utc);
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &t) != 0)
        return 0;
#else
    if (!localtime_r(&t, &local))
        return 0;
#endif
    const int64_t localSeconds = DaysFromCivil(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                                               static_cast<unsigned>(local.tm_mday)) * 86400 +
                                 local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    return localSeconds - utc;
}

} // namespace base
