// CRC-32, MJD + BCD times and BCD durations.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "SIBuilders.h"
#include "dvb/libDVB/si/Crc32.h"
#include "dvb/libDVB/si/SITime.h"
#include "support/TestMedia.h"

using namespace libDVB;

TEST(Crc32, MatchesTheIndependentBitwiseCrcAndTheCheckValue)
{
    const uint8_t check[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(Crc32Mpeg(check, sizeof check), 0x0376E6E7u); // CRC-32/MPEG-2 check value
    EXPECT_EQ(Crc32Mpeg(check, 0), 0xFFFFFFFFu);

    test::CTestRandom random(7);
    for (int round = 0; round < 200; ++round) {
        std::vector<uint8_t> data(random.Below(1200));
        for (auto& b : data)
            b = static_cast<uint8_t>(random.Next());
        ASSERT_EQ(Crc32Mpeg(data.data(), data.size()), test::MpegCrc32(data.data(), data.size())) << round;
    }
}

TEST(Crc32, ASectionWithItsCrcGivesZeroAndAnyFlippedBitDoesNot)
{
    auto section = test::MakeLongSection(0x00, 0x1234, 3, 0, 0, {0x00, 0x01, 0xE1, 0x00});
    EXPECT_EQ(Crc32Mpeg(section.data(), section.size()), 0u);
    for (size_t bit = 0; bit < section.size() * 8; ++bit) {
        auto copy = section;
        copy[bit / 8] ^= static_cast<uint8_t>(0x80 >> (bit % 8));
        ASSERT_NE(Crc32Mpeg(copy.data(), copy.size()), 0u) << "bit " << bit;
    }
}

TEST(SITime, MjdKnownAnswersFromTheStandard)
{
    int y, m, d;
    MjdToDate(0xC079, y, m, d);
    EXPECT_EQ(y, 1993);
    EXPECT_EQ(m, 10);
    EXPECT_EQ(d, 13);
    MjdToDate(40587, y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, 19700101);
    MjdToDate(51603, y, m, d); // leap day of a century leap year
    EXPECT_EQ(y * 10000 + m * 100 + d, 20000229);

    const auto field = test::MjdTime(0xC079, 12, 45, 0);
    EXPECT_EQ(MjdBcdToTime(field.data()), 750516300); // 1993-10-13 12:45:00 UTC
    const uint8_t zero[5] = {0, 0, 0x12, 0x45, 0};
    EXPECT_EQ(MjdBcdToTime(zero), 0);
}

// EN 300 468: a start_time of all ones is undefined; it names no instant (MJD 65535 would be 2038).
TEST(SITime, AllOnesIsUndefined)
{
    const uint8_t undefined[5] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(MjdBcdToTime(undefined), 0);
    const uint8_t lastDay[5] = {0xFF, 0xFF, 0x23, 0x59, 0x59};
    EXPECT_GT(MjdBcdToTime(lastDay), 0);
}

TEST(SITime, AnnexCDatesAgreeWithTheInstantForEveryDayFrom1971To2100)
{
    for (uint32_t mjd = 40952; mjd <= 0xFFFF; ++mjd) { // 1971-01-01 .. 2038-04-22, the last day a 16-bit MJD holds
        int y, m, d;
        MjdToDate(mjd, y, m, d);
        const uint8_t field[5] = {static_cast<uint8_t>(mjd >> 8), static_cast<uint8_t>(mjd), 0, 0, 0};
        const int64_t t = MjdBcdToTime(field);
        // Civil date of the instant, by days-from-civil (H. Hinnant), independent of annex C.
        const int64_t z = t / 86400 + 719468;
        const int64_t era = z / 146097;
        const int64_t doe = z - era * 146097;
        const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
        const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
        const int64_t mp = (5 * doy + 2) / 153;
        const int64_t day = doy - (153 * mp + 2) / 5 + 1;
        const int64_t month = mp < 10 ? mp + 3 : mp - 9;
        const int64_t year = yoe + era * 400 + (month <= 2);
        ASSERT_EQ(year * 10000 + month * 100 + day, y * 10000 + m * 100 + d) << "MJD " << mjd;
        ASSERT_EQ(t % 86400, 0);
    }
    const uint8_t before1971[5] = {0x9F, 0xF7, 0x23, 0x59, 0x59}; // 1970-12-31 23:59:59
    EXPECT_EQ(MjdBcdToTime(before1971), 0);
}

namespace {

void SetZone(const char* zone)
{
#ifdef _WIN32
    _putenv_s("TZ", zone);
    _tzset();
#else
    setenv("TZ", zone, 1);
    tzset();
#endif
}

} // namespace

// The field is UTC; a conversion through local time breaks in half-hour zones and where the clocks
// change. 2026-03-29 01:00 UTC is the European spring change, 2026-10-25 01:00 UTC the autumn one.
TEST(SITime, TheInstantIsTheSameInEveryTimeZone)
{
    const char* zones[] = {"UTC0", "IST-5:30", "NPT-5:45", "CET-1CEST,M3.5.0,M10.5.0/3",
                           "NST3:30NDT,M3.2.0,M11.1.0", "PST8PDT,M3.2.0,M11.1.0"};
    const char* saved = std::getenv("TZ");
    const std::string previous = saved ? saved : "";
    const uint16_t spring = 61128, autumn = 61338; // 2026-03-29, 2026-10-25
    for (const char* zone : zones) {
        SetZone(zone);
        for (uint16_t mjd : {spring, autumn}) {
            const auto before = test::MjdTime(mjd, 0, 59, 59);
            const auto at = test::MjdTime(mjd, 1, 0, 0);
            const auto later = test::MjdTime(mjd, 2, 30, 0);
            const int64_t base = (int64_t(mjd) - 40587) * 86400;
            EXPECT_EQ(MjdBcdToTime(before.data()), base + 3599) << zone;
            EXPECT_EQ(MjdBcdToTime(at.data()), base + 3600) << zone;
            EXPECT_EQ(MjdBcdToTime(later.data()), base + 9000) << zone;
        }
    }
    SetZone(previous.empty() ? "UTC0" : previous.c_str());
}

TEST(SITime, BcdDurations)
{
    const uint8_t ninety[3] = {0x01, 0x30, 0x00};
    EXPECT_EQ(BcdDuration(ninety), 5400);
    const uint8_t longest[3] = {0x99, 0x59, 0x59};
    EXPECT_EQ(BcdDuration(longest), 99 * 3600 + 59 * 60 + 59);
    const uint8_t none[3] = {0, 0, 0};
    EXPECT_EQ(BcdDuration(none), 0);
    EXPECT_EQ(BcdToInt(0x23), 23u);
    EXPECT_EQ(BcdToInt(0x09), 9u);
}
