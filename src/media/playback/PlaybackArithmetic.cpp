#include "media/playback/PlaybackArithmetic.h"

#include <cmath>

namespace playback {

int32_t VolumeLevel(int percent)
{
    if (percent < 0)
        percent = 0;
    if (percent > 100)
        percent = 100;
    const double level = -std::pow(10.0, 4.0 * std::sqrt(1.0 - percent * 0.01));
    return static_cast<int32_t>(level);
}

int64_t PresentationTime(int64_t start, int64_t referenceBase)
{
    // start x 9 / 1000 overflows only for starts beyond 32,000 years; the division truncates
    // toward zero as the 100-ns to 90-kHz conversion requires.
    return start * 9 / 1000 + referenceBase;
}

int64_t SeekPosition(double fraction, double durationSeconds)
{
    if (!(fraction > 0.0))
        fraction = 0.0;
    if (fraction > 1.0)
        fraction = 1.0;
    if (!(durationSeconds > 0.0))
        return 0;
    const double position = fraction * durationSeconds * 10000000.0;
    if (position >= 9.2e18)
        return INT64_MAX;
    return static_cast<int64_t>(position);
}

float PlayedFraction(double positionSeconds, double durationSeconds)
{
    if (std::fabs(durationSeconds) < 0.00001)
        return 0.0f;
    return static_cast<float>(positionSeconds / durationSeconds);
}

CString FileNameOfPath(const CString& path)
{
    const int slash = path.ReverseFind(L'\\');
    return slash < 0 ? path : path.Mid(slash + 1);
}

} // namespace playback
