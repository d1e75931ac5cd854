// The receiver of every transport-stream buffer that reaches the end of a BDA graph. It runs on
// the graph's streaming thread and does its own locking.
#pragma once

#include <cstdint>

#include "base/Result.h"

namespace libBDA {

class CBDADumperCallback {
public:
    virtual ~CBDADumperCallback() = default;
    // The buffer as the tuner delivered it, of any length (also 0); the result is not examined.
    virtual HRESULT OnDumpData(const uint8_t* data, int32_t length) = 0;
};

} // namespace libBDA
