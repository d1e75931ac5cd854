// The programme-guide cache "\epg.dat": a version byte 2, then one little-endian record per event.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "dvb/libDVB/epg/CEITEvent.h"

namespace libDVB {

class CEPGCacheFile {
public:
    static constexpr uint8_t kVersion = 2;
    static constexpr int64_t kMaxAge = 86400; // events that started a day ago or earlier are dropped

    // Serialises the events that started less than a day before `now` (future ones included).
    static std::vector<uint8_t> Write(const std::vector<const CEITEvent*>& events, int64_t now);
    // Hands every sound, recent record to `add`, in file order. Stops at the first record whose
    // lengths do not add up or run past the end; what came before it is kept. Returns the number
    // of records read (skipped old ones included), or -1 when the version byte is wrong.
    static int Read(const std::vector<uint8_t>& bytes, int64_t now, const std::function<void(CEITEvent&&)>& add);
};

} // namespace libDVB
