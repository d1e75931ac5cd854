// UTF-8 <-> UTF-16 conversions for paths and texts (invalid sequences become U+FFFD).
#pragma once

#include <string>

namespace base {

std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const std::u16string& text);

} // namespace base
