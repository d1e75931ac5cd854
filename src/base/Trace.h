// Where refused input is told. A section, PES header, picture or audio frame that a parser refuses
// otherwise disappears into a failure code, and a broadcast that shows nothing cannot be diagnosed.
// The trace is off unless a test or the run command sets a sink; while it is off a refusal costs
// one predictable branch. Sinks are called one at a time, from whatever thread refused the input.
#pragma once

#include <atomic>

namespace base {

class CTraceSink {
public:
    // `what` names the refused input ("section", "PES header", "AC-3 frame"), `why` says in a few
    // words what was wrong with it. Both are static texts.
    virtual void OnRefused(const char* what, const char* why) = 0;

protected:
    ~CTraceSink() = default;
};

// Sets the sink; nullptr (the default) turns the trace off. Once it returns, the sink it replaced
// is called no more, so that sink may go.
void SetTraceSink(CTraceSink* sink);

namespace detail {
extern std::atomic<bool> g_traceOn;
void TellRefused(const char* what, const char* why);
} // namespace detail

inline void TraceRefused(const char* what, const char* why)
{
    if (__builtin_expect(detail::g_traceOn.load(std::memory_order_relaxed), 0))
        detail::TellRefused(what, why);
}

} // namespace base
