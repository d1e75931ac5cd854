// Case folding for channel names and logo file names, the same on every platform: ASCII, Latin-1,
// Latin Extended-A, Greek and Cyrillic capitals become small letters; other characters stay.
#pragma once

#include <string>

namespace DVBPlaybackCore {

char16_t LowerCase(char16_t c);
std::u16string LowerCase(const std::u16string& text);

} // namespace DVBPlaybackCore
