#include "dvb/DVBPlaybackCore/JobName.h"

#include <algorithm>

namespace DVBPlaybackCore {

namespace {

char16_t Lower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

bool SameName(const std::u16string& a, const std::u16string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return Lower(x) == Lower(y); });
}

} // namespace

std::u16string FreeJobNameWhere(uint32_t ticks, const std::function<bool(const std::u16string&)>& isTaken)
{
    for (uint64_t step = 0; step <= 0xFFFFFFFFull; ++step) {
        const std::string number = std::to_string(static_cast<int32_t>(ticks + static_cast<uint32_t>(step)));
        std::u16string name = u"QORSR_" + std::u16string(number.begin(), number.end());
        if (!isTaken(name))
            return name;
    }
    return std::u16string();
}

std::u16string FreeJobName(uint32_t ticks, const std::vector<std::u16string>& taken)
{
    return FreeJobNameWhere(ticks, [&](const std::u16string& name) {
        return std::any_of(taken.begin(), taken.end(), [&](const std::u16string& t) { return SameName(t, name); });
    });
}

} // namespace DVBPlaybackCore
