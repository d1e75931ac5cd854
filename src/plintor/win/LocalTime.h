// Instants (UTC seconds since 1970, as the recordings keep them) and the local calendar times the
// user sees and picks, by the system's time-zone rules.
#pragma once

#include <windows.h>

#include <cstdint>

SYSTEMTIME LocalTimeOf(int64_t utc);
// 0 when the local time does not exist.
int64_t UtcOf(const SYSTEMTIME& local);
int64_t UtcNow();
