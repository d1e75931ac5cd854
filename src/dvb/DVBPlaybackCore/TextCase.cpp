#include "dvb/DVBPlaybackCore/TextCase.h"

namespace DVBPlaybackCore {

char16_t LowerCase(char16_t c)
{
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<char16_t>(c + 0x20);
    // Latin Extended-A pairs capital and small letter as even/odd code points, with the run from
    // U+0139 to U+0148 and from U+0179 to U+017E shifted by one; U+0130, U+0138 and U+0149 stand
    // alone, U+0178 is the capital of U+00FF.
    if (c >= 0x100 && c <= 0x137 && c != 0x130)
        return static_cast<char16_t>(c | 1);
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return (c & 1) ? static_cast<char16_t>(c + 1) : c;
    if (c >= 0x14A && c <= 0x177)
        return static_cast<char16_t>(c | 1);
    if (c == 0x178)
        return 0xFF;
    if ((c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F))
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x400 && c <= 0x40F)
        return static_cast<char16_t>(c + 0x50);
    return c;
}

std::u16string LowerCase(const std::u16string& text)
{
    std::u16string out = text;
    for (auto& c : out)
        c = LowerCase(c);
    return out;
}

} // namespace DVBPlaybackCore
