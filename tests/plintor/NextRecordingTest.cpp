// The next-recording computation in the Europe/Bratislava calendar against a day-by-day zoneinfo
// reference (next_recording.py): daily every n days, weekly on chosen days every n weeks, across
// both daylight-saving changes, today/tomorrow forms, passed one-off records, interval 0 and a mask
// without weekday bits.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include "plintor/NextRecording.h"
#include "support/TestMedia.h"

namespace {

TEST(NextRecordingTest, MatchesTheCalendarReference)
{
    setenv("TZ", "Europe/Bratislava", 1);
    tzset();
    const std::string cases = "/tmp/tolvik-next-recording-" + std::to_string(getpid()) + ".txt";
    const std::string command = "/usr/bin/python3 '" + test::SourcePath("tests/plintor/next_recording.py") + "' '" + cases + "'";
    ASSERT_EQ(0, std::system(command.c_str()));
    std::ifstream in(cases);
    std::string line;
    int count = 0, wrong = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        int64_t kind, start, duration, interval, mask, now, expectedStart, expectedForm;
        fields >> kind >> start >> duration >> interval >> mask >> now >> expectedStart >> expectedForm;
        const plintor::CNextRecording next =
            plintor::NextRecording(static_cast<uint32_t>(kind), start, duration, static_cast<uint16_t>(interval),
                                   static_cast<uint16_t>(mask), now);
        ++count;
        if (next.start != expectedStart || next.form != expectedForm || next.end != expectedStart + duration) {
            if (++wrong <= 10)
                ADD_FAILURE() << line << " -> " << next.start << " " << next.form;
        }
    }
    std::remove(cases.c_str());
    EXPECT_GT(count, 3000);
    EXPECT_EQ(0, wrong);
}

} // namespace
