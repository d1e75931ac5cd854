// A bounded wait of the Windows tests on a condition another thread or process brings about:
// polled without pumping messages until it holds or the time is up.
#pragma once

#include <windows.h>

#include <functional>

namespace test {

// Returns done() at the end: true when it held within `ms`.
inline bool WaitUntil(const std::function<bool()>& done, unsigned ms)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= ms)
            return done();
        Sleep(10);
    }
    return true;
}

} // namespace test
