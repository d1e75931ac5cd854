#include "dvb/DVBPlaybackCore/RecordingCommand.h"

#include <limits>

namespace DVBPlaybackCore {

namespace {

std::u16string Decimal(int64_t value)
{
    const std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

// An optional minus and decimal digits, nothing else, within [minimum, maximum].
bool ReadInteger(const std::u16string& text, int64_t minimum, int64_t maximum, int64_t* value)
{
    size_t at = 0;
    const bool negative = !text.empty() && text[0] == u'-';
    at += negative;
    if (at == text.size())
        return false;
    uint64_t magnitude = 0;
    for (; at < text.size(); ++at) {
        const char16_t c = text[at];
        if (c < u'0' || c > u'9')
            return false;
        if (magnitude > (std::numeric_limits<uint64_t>::max() - 9) / 10)
            return false;
        magnitude = magnitude * 10 + (c - u'0');
    }
    if (!negative && magnitude > static_cast<uint64_t>(maximum))
        return false;
    if (negative && (minimum >= 0 || magnitude > static_cast<uint64_t>(-(minimum + 1)) + 1))
        return false;
    *value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return *value >= minimum && *value <= maximum;
}

bool HasBlank(const std::u16string& text) { return text.find_first_of(u" \t") != std::u16string::npos; }

} // namespace

std::u16string FormatRecordingCommand(uint16_t transportStreamId, uint16_t serviceId, int64_t minutes, bool closeAfter,
                                      const std::u16string& path)
{
    std::u16string line = u"/rec " + Decimal(transportStreamId) + u" " + Decimal(serviceId) + u" " + Decimal(minutes) +
                          (closeAfter ? u" 1 " : u" 0 ");
    if (!HasBlank(path))
        return line + path;
    // Backslashes right before the closing quote are doubled, or the last one would escape it
    // (the argument rules of the C runtime and CommandLineToArgvW).
    size_t trailing = 0;
    while (trailing < path.size() && path[path.size() - 1 - trailing] == u'\\')
        ++trailing;
    return line + u"\"" + path + std::u16string(trailing, u'\\') + u"\"";
}

HRESULT ParseRecordingCommand(const std::vector<std::u16string>& arguments, CRecordingCommand* out)
{
    if (!out)
        return E_POINTER;
    size_t at;
    if (!arguments.empty() && arguments[0] == u"/rec")
        at = 0;
    else if (arguments.size() > 1 && arguments[1] == u"/rec")
        at = 1;
    else
        return S_FALSE;
    const size_t count = arguments.size() - at;
    if (count < 5)
        return S_FALSE;
    int64_t tsid = 0, sid = 0, minutes = 0;
    if (!ReadInteger(arguments[at + 1], 0, 0xFFFF, &tsid) || !ReadInteger(arguments[at + 2], 0, 0xFFFF, &sid) ||
        !ReadInteger(arguments[at + 3], 0, std::numeric_limits<int64_t>::max(), &minutes))
        return E_FAIL;
    std::u16string path;
    for (size_t i = at + 5; i < arguments.size(); ++i) {
        if (i > at + 5)
            path += u' ';
        path += arguments[i];
    }
    if (path.size() > kMaxRecordingPath)
        return E_INVALIDARG;
    out->transportStreamId = static_cast<uint16_t>(tsid);
    out->serviceId = static_cast<uint16_t>(sid);
    out->minutes = minutes;
    out->closeAfter = !arguments[at + 4].empty() && arguments[at + 4][0] == u'1';
    out->path = path;
    return S_OK;
}

} // namespace DVBPlaybackCore
