#include "base/Trace.h"

#include <mutex>

namespace base {

namespace detail {
std::atomic<bool> g_traceOn{false};
} // namespace detail

namespace {

// The sink is read and changed only under this lock, so that no refusal reaches a sink that
// SetTraceSink has already replaced.
// Never destroyed: a sink that outlives main still stops through it.
std::mutex& TraceLock()
{
    static std::mutex* lock = new std::mutex;
    return *lock;
}

CTraceSink* g_sink = nullptr;

} // namespace

void SetTraceSink(CTraceSink* sink)
{
    std::lock_guard<std::mutex> lock(TraceLock());
    g_sink = sink;
    detail::g_traceOn.store(sink != nullptr, std::memory_order_relaxed);
}

void detail::TellRefused(const char* what, const char* why)
{
    std::lock_guard<std::mutex> lock(TraceLock());
    if (g_sink)
        g_sink->OnRefused(what, why);
}

} // namespace base
