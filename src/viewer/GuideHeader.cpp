#include "viewer/GuideHeader.h"

namespace viewer {

std::vector<GuideHeaderItem> GuideHeaderItems(int64_t gridStart, int64_t columnSpan, const GuideHeaderTexts& texts)
{
    std::vector<GuideHeaderItem> items;
    items.reserve(kGuideHeaderColumns + 1);
    const int weekday = texts.weekdayNumber(gridStart);
    std::u16string day = weekday >= 1 && weekday <= 7 ? texts.weekdayName(weekday) + u", " : std::u16string();
    day += texts.shortDate(gridStart);
    items.push_back({day, kGuideHeaderDayWidth});
    for (int column = 0; column < kGuideHeaderColumns; ++column)
        items.push_back({texts.timeWithoutSeconds(gridStart + column * columnSpan), kGuideHeaderColumnWidth});
    return items;
}

} // namespace viewer
