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

} // namespace viewer
