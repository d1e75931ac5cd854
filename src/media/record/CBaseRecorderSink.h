// Where a recorder's bytes go: a file on Windows, memory in the tests.
#pragma once

#include <cstdint>

#include "base/Result.h"

namespace record {

class CBaseRecorderSink {
public:
    virtual ~CBaseRecorderSink() = default;
    // 0 when the bytes were taken; a failure once they cannot be stored (the recording then stops).
    virtual HRESULT Write(const uint8_t* data, int length) = 0;
};

} // namespace record
