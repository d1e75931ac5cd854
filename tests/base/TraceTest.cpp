// The refusal trace: off until a sink is set, one line a refusal, safe from several threads, and
// the file the run command asks for through the environment.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "base/File.h"
#include "base/TraceCapture.h"
#include "base/TraceFile.h"
#include "base/Utf16.h"

namespace {

void SetVariable(const char* value)
{
#ifdef _WIN32
    _putenv_s(base::kTraceVariable, value ? value : "");
#else
    if (value)
        setenv(base::kTraceVariable, value, 1);
    else
        unsetenv(base::kTraceVariable);
#endif
}

} // namespace

TEST(Trace, CapturesWhileItLivesAndFromEveryThread)
{
    base::TraceRefused("section", "before any sink");
    {
        base::CTraceCapture trace;
        base::TraceRefused("section", "CRC_32 mismatch");
        EXPECT_EQ(trace.Lines(), std::vector<std::string>{"section: CRC_32 mismatch"});
        EXPECT_TRUE(trace.Has("section", "CRC_32"));
        EXPECT_FALSE(trace.Has("PES header", "CRC_32"));

        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t)
            threads.emplace_back([] {
                for (int i = 0; i < 500; ++i)
                    base::TraceRefused("frame", "damaged");
            });
        for (auto& thread : threads)
            thread.join();
        EXPECT_EQ(trace.Lines().size(), 2001u);
    }
    base::TraceRefused("section", "after the sink went");
    base::CTraceCapture later;
    EXPECT_TRUE(later.Lines().empty());
}

TEST(Trace, TheEnvironmentNamesTheTraceFile)
{
    const std::string path = testing::TempDir() + "trace_test.txt";
    base::DeleteFileAt(base::Utf8ToUtf16(path));
    base::CTraceFile file;
    SetVariable(nullptr);
    EXPECT_FALSE(base::StartTraceFromEnvironment(file)) << "off unless asked for";

    SetVariable(path.c_str());
    ASSERT_TRUE(base::StartTraceFromEnvironment(file));
    base::TraceRefused("AC-3 frame", "CRC mismatch");
    base::TraceRefused("EPG cache", "not of this version");
    file.Stop();
    base::TraceRefused("section", "after the file was closed");
    SetVariable(nullptr);

    std::vector<uint8_t> bytes;
    ASSERT_TRUE(base::ReadWholeFile(base::Utf8ToUtf16(path), bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              "refused AC-3 frame: CRC mismatch\nrefused EPG cache: not of this version\n");
    base::DeleteFileAt(base::Utf8ToUtf16(path));
}
