#include "media/playback/FormatPlayTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

std::wstring Played(double seconds)
{
    CString text;
    FormatPlayTime(seconds, text);
    return text.GetString();
}

TEST(FormatPlayTime, HoursMinutesAndSecondsWithADotBeforeTheSeconds)
{
    EXPECT_EQ(Played(0), L"00:00.00");
    EXPECT_EQ(Played(59.99), L"00:00.59");
    EXPECT_EQ(Played(3725.9), L"01:02.05");
    EXPECT_EQ(Played(360000), L"100:00.00");
}

TEST(FormatPlayTime, NegativeNotANumberAndHugeTimesAreClampedNotConvertedBlindly)
{
    EXPECT_EQ(Played(-5), L"00:00.00");
    EXPECT_EQ(Played(std::nan("")), L"00:00.00");
    EXPECT_EQ(Played(-std::numeric_limits<double>::infinity()), L"00:00.00");
    EXPECT_EQ(Played(1e300), L"2147483647:00.00");
}

} // namespace
