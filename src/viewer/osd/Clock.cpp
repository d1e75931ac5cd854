#include "viewer/osd/Clock.h"

#include <atomic>
#include <chrono>

#ifdef _WIN32
#include <windows.h>
#endif

namespace OnScreenDisplay {

namespace {

uint32_t SystemTicks()
{
#ifdef _WIN32
    return GetTickCount();
#else
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
#endif
}

std::atomic<TickSource> g_source{nullptr};

} // namespace

uint32_t Now()
{
    const TickSource source = g_source.load(std::memory_order_relaxed);
    return source ? source() : SystemTicks();
}

void SetTickSource(TickSource source)
{
    g_source.store(source);
}

} // namespace OnScreenDisplay
