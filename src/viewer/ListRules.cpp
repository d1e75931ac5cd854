#include "viewer/ListRules.h"

#include <cstdio>

#include "base/Utf16.h"
#include "viewer/CChannelNode.h"
#include "viewer/CommandIds.h"

namespace viewer {

namespace {
std::u16string FourDigits(int number)
{
    char text[16];
    std::snprintf(text, sizeof(text), "%.4d", number);
    return base::Utf8ToUtf16(text);
}
} // namespace

bool IsRecordedShowEntry(const std::u16string& name, uint32_t attributes)
{
    return !name.empty() && name[0] != u'.' && (attributes & kUnlistedAttributes) == 0;
}

std::u16string FileNameOf(const std::u16string& path)
{
    const size_t slash = path.rfind(u'\\');
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

ChannelListEntry ChannelListItem(int kind, size_t index, int32_t favouriteNumber, int32_t channelNumber,
                                 uint16_t transportStreamId, uint16_t serviceId)
{
    ChannelListEntry entry;
    entry.value = static_cast<int>(static_cast<uint32_t>(transportStreamId) << 16 | serviceId);
    entry.value2 = -1;
    switch (kind) {
    case KindFavourites:
        entry.number = FourDigits(favouriteNumber + 1);
        entry.value2 = ListPosition(ChannelList::Favourites, index);
        break;
    case KindTV:
        entry.number = FourDigits(channelNumber + 1000);
        entry.value2 = ListPosition(ChannelList::TV, index);
        break;
    case KindRadio:
        entry.number = FourDigits(channelNumber + 5000);
        entry.value2 = ListPosition(ChannelList::Radio, index);
        break;
    default:
        break;
    }
    return entry;
}

std::u16string StreamItemText(const std::u16string& language, const std::u16string& word, int& counter,
                              const std::u16string& unknown, const std::u16string* suffix)
{
    if (!language.empty())
        return language;
    std::u16string text = word + u" " + base::Utf8ToUtf16(std::to_string(counter)) + u" (" + unknown + u")";
    if (suffix)
        text += u" " + *suffix;
    ++counter;
    return text;
}

bool IsTransportStreamExtension(const std::u16string& extension)
{
    return extension == u".ts";
}

} // namespace viewer
