// A trace sink that keeps the refusals in memory while it lives, for tests that check why an input
// was refused.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "base/Trace.h"

namespace base {

class CTraceCapture : public CTraceSink {
public:
    CTraceCapture() { SetTraceSink(this); }
    ~CTraceCapture() { SetTraceSink(nullptr); }
    CTraceCapture(const CTraceCapture&) = delete;
    CTraceCapture& operator=(const CTraceCapture&) = delete;

    void OnRefused(const char* what, const char* why) override;

    // Every refusal so far as "what: why", oldest first.
    std::vector<std::string> Lines() const;
    // Whether `what` was refused for a reason containing `why`.
    bool Has(const std::string& what, const std::string& why) const;
    void Clear();

private:
    mutable std::mutex m_lock;
    std::vector<std::string> m_lines;
};

} // namespace base
