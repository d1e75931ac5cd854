#include "media/playback/FormatPlayTime.h"

#include <cmath>
#include <cstdint>

namespace {

int ToInt(double value)
{
    if (!(value > 0))
        return 0;
    if (value >= static_cast<double>(INT32_MAX))
        return INT32_MAX;
    return static_cast<int>(value);
}

} // namespace

void FormatPlayTime(double seconds, CString& text)
{
    // Beyond the largest hour count the fields would no longer be exact.
    constexpr double kLongest = static_cast<double>(INT32_MAX) * 3600;
    if (!(seconds > 0))
        seconds = 0;
    else if (seconds > kLongest)
        seconds = kLongest;
    const double hours = std::floor(seconds * (1.0 / 3600));
    const double rest = seconds - hours * 3600;
    const double minutes = std::floor(rest * (1.0 / 60));
    const double secs = std::floor(rest - minutes * 60);
    text.Format(L"%.2d:%.2d.%.2d", ToInt(hours), ToInt(minutes), ToInt(secs));
}
