#include "viewer/CommandLineBlock.h"

namespace viewer {

namespace {
bool IsRecordSwitch(const std::u16string& word)
{
    if (word.size() != 4 || word[0] != u'/')
        return false;
    const char16_t* rec = u"rec";
    for (size_t i = 0; i < 3; ++i) {
        char16_t c = word[i + 1];
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != rec[i])
            return false;
    }
    return true;
}
} // namespace

std::u16string PackArguments(const std::vector<std::u16string>& argv)
{
    std::u16string block;
    const size_t first = !argv.empty() && IsRecordSwitch(argv[0]) ? 0 : 1;
    for (size_t i = first; i < argv.size(); ++i) {
        block += argv[i];
        block += u'\0';
    }
    return block;
}

std::vector<std::u16string> UnpackArguments(const char16_t* data, size_t units)
{
    std::vector<std::u16string> arguments;
    size_t start = 0;
    for (size_t i = 0; i < units; ++i) {
        if (data[i] == u'\0') {
            arguments.emplace_back(data + start, i - start);
            start = i + 1;
        }
    }
    if (start < units)
        arguments.emplace_back(data + start, units - start);
    return arguments;
}

namespace {
// A decimal number as "%d" reads it: white space, a sign, the digits that follow; 0 without any.
int64_t LeadingNumber(const std::u16string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > (int64_t{1} << 40))
            break; // far beyond every field; the range checks refuse it
    }
    return negative ? -value : value;
}

bool IsSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}
} // namespace

std::u16string JoinArguments(const std::vector<std::u16string>& arguments, size_t first)
{
    std::u16string joined;
    for (size_t i = first; i < arguments.size(); ++i) {
        if (i > first)
            joined += u' ';
        joined += arguments[i];
    }
    return joined;
}

bool ParseRecordCommand(const std::vector<std::u16string>& arguments, RecordCommand& command)
{
    if (arguments.size() < 5 || arguments[0] != u"/rec")
        return false;
    const int64_t minutes = LeadingNumber(arguments[3]);
    // A recording of no time would end before it starts.
    if (minutes <= 0 || minutes > kMaxRecordMinutes)
        return false;
    const int64_t transportStreamId = LeadingNumber(arguments[1]);
    const int64_t serviceId = LeadingNumber(arguments[2]);
    if (transportStreamId < 0 || transportStreamId > 0xFFFF || serviceId < 0 || serviceId > 0xFFFF)
        return false; // cut to 16 bits it would name another service
    RecordCommand parsed;
    parsed.transportStreamId = static_cast<uint16_t>(transportStreamId);
    parsed.serviceId = static_cast<uint16_t>(serviceId);
    parsed.minutes = static_cast<uint32_t>(minutes);
    parsed.closeAfter = !arguments[4].empty() && arguments[4][0] == u'1';
    if (arguments.size() > 5) {
        // A job written with the path unquoted reaches us split at its spaces: the words after the
        // fourth value are the one path.
        const std::u16string path = JoinArguments(arguments, 5);
        size_t first = 0, last = path.size();
        while (first < last && IsSpace(path[first]))
            ++first;
        while (last > first && IsSpace(path[last - 1]))
            --last;
        if (last - first >= kRecordPathField)
            return false;
        parsed.path = path.substr(first, last - first);
    }
    command = parsed;
    return true;
}

} // namespace viewer
