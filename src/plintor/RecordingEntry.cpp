#include "plintor/RecordingEntry.h"

namespace plintor {

int64_t RecordingDuration(int32_t startOfDay, int32_t endOfDay)
{
    int64_t duration = static_cast<int64_t>(endOfDay) - startOfDay;
    if (duration <= 0)
        duration += 86400;
    return duration;
}

std::u16string DescriptionFromPath(const std::u16string& path)
{
    const size_t slash = path.rfind(u'\\');
    std::u16string name = slash == std::u16string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind(u'.');
    if (dot != std::u16string::npos)
        name.resize(dot);
    return name;
}

int PluralForm(uint32_t count)
{
    if (count == 1)
        return 1;
    return count >= 2 && count <= 4 ? 2 : 3;
}

std::u16string TimeFormatWithoutSeconds(const std::u16string& format)
{
    std::u16string result = format;
    const size_t seconds = result.find(u"ss", 1);
    if (seconds != std::u16string::npos)
        result.erase(seconds - 1, 3);
    return result;
}

bool ComposeRepeat(bool advanced, int repeatChoice, int interval, uint16_t weekDays, CRecordingRepeat* out)
{
    weekDays &= 0x7F;
    if (repeatChoice == 2 && weekDays == 0)
        return false;
    *out = {};
    if (!advanced || (repeatChoice != 1 && repeatChoice != 2))
        return true;
    out->kind = static_cast<uint32_t>(repeatChoice);
    out->interval = static_cast<uint16_t>(std::clamp(interval, 1, 1000));
    if (repeatChoice == 2)
        out->weekDays = weekDays;
    return true;
}

} // namespace plintor
