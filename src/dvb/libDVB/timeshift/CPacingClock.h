// The time base of real-time pacing on Windows (timeshift replay, file playback): the tick count,
// and waits that end early when the reader's stop event is set. Tests put a clock of their own in
// its place.
#pragma once

#include <cstdint>

#include "base/Result.h"

namespace libDVB {

class CPacingClock {
public:
    virtual ~CPacingClock() = default;
    virtual uint64_t NowMs() = 0;
    // Waits `ms` milliseconds or until `stop` is set; true when it was set.
    virtual bool Wait(HANDLE stop, uint32_t ms) = 0;
};

class CTickPacingClock : public CPacingClock {
public:
    uint64_t NowMs() override { return GetTickCount64(); }
    bool Wait(HANDLE stop, uint32_t ms) override { return WaitForSingleObject(stop, ms) == WAIT_OBJECT_0; }
};

} // namespace libDVB
