// Told the time base of a push demultiplexer's outputs, in 90 kHz units, each time it is decided.
#pragma once

#include <windows.h>

namespace mpegdemux {

class CReferencePinCallback {
public:
    virtual ~CReferencePinCallback() = default;
    virtual void OnReferenceTime(LONGLONG time) = 0;
};

} // namespace mpegdemux
