#include "media/playback/PlaybackArithmetic.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace playback;

TEST(VolumeLevel, HundredthsOfADecibelOnTheRootCurveAndClampedOutsideZeroToHundred)
{
    EXPECT_EQ(-1, VolumeLevel(100));
    EXPECT_EQ(-100, VolumeLevel(75));
    EXPECT_EQ(-673, VolumeLevel(50));
    EXPECT_EQ(-10000, VolumeLevel(0));
    // Above 100 the root would be of a negative number, below 0 the level under -10000.
    EXPECT_EQ(-1, VolumeLevel(101));
    EXPECT_EQ(-1, VolumeLevel(INT32_MAX));
    EXPECT_EQ(-10000, VolumeLevel(-1));
    EXPECT_EQ(-10000, VolumeLevel(INT32_MIN));
}

TEST(PresentationTime, HundredNanosecondsBackToNinetyKilohertzOnTheBase)
{
    EXPECT_EQ(123456789, PresentationTime(0, 123456789));
    EXPECT_EQ(90000 + 5, PresentationTime(10000000, 5));
    EXPECT_EQ(0, PresentationTime(111, 0)); // 0.999 ticks truncate
    EXPECT_EQ(-1, PresentationTime(-112, 0)); // toward zero, not down
    EXPECT_EQ((int64_t(1) << 33) + 900, PresentationTime(100000, int64_t(1) << 33));
}

TEST(SeekPosition, FractionOfTheDurationClampedToTheFile)
{
    EXPECT_EQ(600000000, SeekPosition(0.5, 120.0));
    EXPECT_EQ(1200000000, SeekPosition(1.5, 120.0));
    EXPECT_EQ(0, SeekPosition(-0.5, 120.0));
    EXPECT_EQ(0, SeekPosition(std::nan(""), 120.0));
    EXPECT_EQ(0, SeekPosition(0.5, 0.0));
    EXPECT_EQ(0, SeekPosition(0.5, std::nan("")));
    EXPECT_EQ(INT64_MAX, SeekPosition(1.0, 1e300));
}

TEST(PlayedFraction, ZeroForAFileWithoutDuration)
{
    EXPECT_FLOAT_EQ(0.25f, PlayedFraction(30.0, 120.0));
    EXPECT_EQ(0.0f, PlayedFraction(3.0, 0.0));
    EXPECT_EQ(0.0f, PlayedFraction(3.0, 0.000005));
}

TEST(FileNameOfPath, AfterTheLastBackslashOrTheWholePath)
{
    EXPECT_EQ(CString(L"film.mpg"), FileNameOfPath(CString(L"C:\\Videos\\film.mpg")));
    EXPECT_EQ(CString(L"film.mpg"), FileNameOfPath(CString(L"film.mpg")));
    EXPECT_EQ(CString(L""), FileNameOfPath(CString(L"C:\\Videos\\")));
}

} // namespace
