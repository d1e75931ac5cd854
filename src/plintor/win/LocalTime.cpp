#include "plintor/win/LocalTime.h"

namespace {

const int64_t kEpochSeconds = 11644473600ll; // from 1601 to 1970
const uint64_t kTicksPerSecond = 10000000ull;

int64_t SecondsOf(const FILETIME& file)
{
    ULARGE_INTEGER ticks{{file.dwLowDateTime, file.dwHighDateTime}};
    return static_cast<int64_t>(ticks.QuadPart / kTicksPerSecond) - kEpochSeconds;
}

} // namespace

SYSTEMTIME LocalTimeOf(int64_t utc)
{
    ULARGE_INTEGER ticks;
    ticks.QuadPart = static_cast<uint64_t>(utc + kEpochSeconds) * kTicksPerSecond;
    FILETIME file{ticks.LowPart, ticks.HighPart};
    SYSTEMTIME universal{}, local{};
    ::FileTimeToSystemTime(&file, &universal);
    ::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local);
    return local;
}

int64_t UtcOf(const SYSTEMTIME& local)
{
    SYSTEMTIME universal{};
    FILETIME file{};
    if (!::TzSpecificLocalTimeToSystemTime(nullptr, &local, &universal) || !::SystemTimeToFileTime(&universal, &file))
        return 0;
    return SecondsOf(file);
}

int64_t UtcNow()
{
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    return SecondsOf(now);
}
