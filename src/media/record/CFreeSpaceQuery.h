// The space left on the volume a recording goes to.
#pragma once

#include <cstdint>

namespace record {

class CFreeSpaceQuery {
public:
    virtual ~CFreeSpaceQuery() = default;
    // Bytes available to the caller; false when the volume cannot be asked.
    virtual bool FreeBytes(uint64_t* bytes) = 0;
};

} // namespace record
