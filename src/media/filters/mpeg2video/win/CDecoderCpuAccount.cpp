#include "media/filters/mpeg2video/win/CDecoderCpuAccount.h"

#include <windows.h>

#include <atomic>
#include <mutex>

namespace mpeg2videofilter {

namespace {

std::atomic<bool> g_enabled{false};
std::mutex g_lock;
DecoderCpuTimes g_totals;

int64_t Ticks(const FILETIME& time) { return int64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime; }

} // namespace

void CDecoderCpuAccount::Enable(bool on) { g_enabled.store(on, std::memory_order_relaxed); }

bool CDecoderCpuAccount::Enabled() { return g_enabled.load(std::memory_order_relaxed); }

DecoderCpuTimes CDecoderCpuAccount::Totals()
{
    std::lock_guard<std::mutex> lock(g_lock);
    return g_totals;
}

DecoderTime CDecoderCpuAccount::Now()
{
    DecoderTime now;
    FILETIME created, exited, kernel, user;
    if (GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user))
        now.cpu = Ticks(kernel) + Ticks(user);
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    now.wall = int64_t(double(counter.QuadPart) * 1e7 / double(frequency.QuadPart));
    return now;
}

void CDecoderCpuAccount::Add(const DecoderCpuTimes& times)
{
    std::lock_guard<std::mutex> lock(g_lock);
    g_totals.decode += times.decode;
    g_totals.convert += times.convert;
    g_totals.deliver += times.deliver;
    g_totals.samples += times.samples;
}

} // namespace mpeg2videofilter
