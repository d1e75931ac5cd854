// The guide's time scale header with texts of a fixed UTC formatter.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "viewer/GuideHeader.h"

namespace {
std::u16string Ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

viewer::GuideHeaderTexts UtcTexts()
{
    viewer::GuideHeaderTexts texts;
    static const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    texts.weekdayName = [](int weekday) { return Ascii(kDays[weekday - 1]); };
    // 1970-01-01 was a Thursday.
    texts.weekdayNumber = [](int64_t time) { return time < 0 ? 0 : static_cast<int>((time / 86400 + 4) % 7) + 1; };
    texts.shortDate = [](int64_t time) { return Ascii("day" + std::to_string(time / 86400)); };
    texts.timeWithoutSeconds = [](int64_t time) {
        char text[8];
        std::snprintf(text, sizeof(text), "%02d:%02d", static_cast<int>(time / 3600 % 24),
                      static_cast<int>(time / 60 % 60));
        return Ascii(text);
    };
    return texts;
}
} // namespace

TEST(GuideHeader, DayThenTenColumnStarts)
{
    // 2026-12-09 20:00 UTC, a Wednesday; half-hour columns cross midnight.
    const int64_t start = 1796846400;
    const auto items = viewer::GuideHeaderItems(start, 1800, UtcTexts());
    ASSERT_EQ(11u, items.size());
    EXPECT_EQ(u"Wednesday, day20796", items[0].text);
    EXPECT_EQ(200.0f, items[0].width);
    EXPECT_EQ(u"20:00", items[1].text);
    EXPECT_EQ(u"20:30", items[2].text);
    EXPECT_EQ(u"23:30", items[8].text);
    EXPECT_EQ(u"00:00", items[9].text);
    EXPECT_EQ(u"00:30", items[10].text);
    for (size_t i = 1; i < items.size(); ++i)
        EXPECT_EQ(250.0f, items[i].width);
    // A start the locale cannot convert keeps the date and drops the day's name.
    EXPECT_EQ(u"day0", viewer::GuideHeaderItems(-5, 3600, UtcTexts())[0].text);
}
