#include "viewer/CommandRules.h"

#include <algorithm>

namespace viewer {

namespace {
const std::u16string kExtension = u".mpg";

std::u16string Decimal(unsigned value)
{
    std::u16string text;
    do {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value != 0);
    return text;
}
} // namespace

std::u16string FileNamePart(std::u16string text)
{
    static const std::u16string forbidden = u"\\/:*?\"<>|";
    for (char16_t& c : text)
        if (c < 0x20 || c == 0x7F || forbidden.find(c) != std::u16string::npos)
            c = u'-';
    return text;
}

std::u16string RecordingFileName(const std::u16string& channel, const std::u16string& middle,
                                 const std::u16string& date)
{
    return FileNamePart(channel) + u" - " + FileNamePart(middle) + u" (" + FileNamePart(date) + u")" + kExtension;
}

std::u16string FreeRecordingPath(const std::u16string& path, const std::u16string& time,
                                 const std::function<bool(const std::u16string&)>& exists)
{
    if (!exists(path))
        return path;
    std::u16string stem = path;
    if (stem.size() >= kExtension.size() && stem.compare(stem.size() - kExtension.size(), kExtension.size(), kExtension) == 0)
        stem.resize(stem.size() - kExtension.size());
    stem += u" - " + FileNamePart(time);
    std::u16string candidate = stem + kExtension;
    // Bounded: a folder cannot hold that many names of one second, and the last is taken anyway.
    for (unsigned n = 2; exists(candidate) && n < 100000; ++n)
        candidate = stem + u" (" + Decimal(n) + u")" + kExtension;
    return candidate;
}

TimeshiftCall TimeshiftCallFor(bool first, bool second)
{
    if (!first)
        return second ? TimeshiftCall::StopToLive : TimeshiftCall::Start;
    return second ? TimeshiftCall::Stop : TimeshiftCall::None;
}

bool TimeshiftViewAfter(TimeshiftCall call, bool stopped, TimeshiftView& view)
{
    switch (call) {
    case TimeshiftCall::Start:
        view = {2, u"play_button"};
        return true;
    case TimeshiftCall::StopToLive:
        view = {0, u"pause_button"};
        return true;
    case TimeshiftCall::Stop:
        view = stopped ? TimeshiftView{0, u"pause_button"} : TimeshiftView{2, u"timeshift_button"};
        return true;
    case TimeshiftCall::None:
        break;
    }
    return false;
}

int SteppedVolume(int volume, int delta)
{
    return std::clamp(volume + delta, 0, 100);
}

} // namespace viewer
