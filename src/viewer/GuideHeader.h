// The guide's time scale header: the day of the grid's start, then the start of each of its ten
// columns. The texts come from the caller, which formats them in the user's locale.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace viewer {

struct GuideHeaderItem {
    std::u16string text;
    float width = 0;
};

constexpr int kGuideHeaderColumns = 10;
constexpr float kGuideHeaderDayWidth = 200;
constexpr float kGuideHeaderColumnWidth = 250;

struct GuideHeaderTexts {
    // The day's name by weekday number, 1 = Sunday .. 7 = Saturday.
    std::function<std::u16string(int weekday)> weekdayName;
    // 0 when the time cannot be converted.
    std::function<int(int64_t time)> weekdayNumber;
    std::function<std::u16string(int64_t time)> shortDate;
    std::function<std::u16string(int64_t time)> timeWithoutSeconds;
};

// "<weekday>, <date>" 200 wide, then the ten column starts 250 wide each, `columnSpan` seconds
// apart. An unconvertible weekday leaves the name out, not the date.
std::vector<GuideHeaderItem> GuideHeaderItems(int64_t gridStart, int64_t columnSpan, const GuideHeaderTexts& texts);

} // namespace viewer
