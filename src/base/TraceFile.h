// A trace sink that appends each refusal as a line "refused <what>: <why>" to a text file, flushed
// line by line so that a program that is stopped leaves its whole trace.
#pragma once

#include <cstdio>
#include <string>

#include "base/Trace.h"

namespace base {

class CTraceFile : public CTraceSink {
public:
    CTraceFile() = default;
    ~CTraceFile();
    CTraceFile(const CTraceFile&) = delete;
    CTraceFile& operator=(const CTraceFile&) = delete;

    // Opens `path` for appending and makes this the trace sink; false when the file cannot be opened.
    bool Start(const std::u16string& path);
    // Turns the trace off and closes the file.
    void Stop();

    void OnRefused(const char* what, const char* why) override;

private:
    std::FILE* m_file = nullptr;
};

// The variable that names a program's trace file; unset (the default), nothing is traced.
constexpr const char* kTraceVariable = "TOLVIK_TRACE";

// Starts `file` on the path that kTraceVariable names, if it names one.
bool StartTraceFromEnvironment(CTraceFile& file);

} // namespace base
