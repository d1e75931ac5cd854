// The engine speaks UTF-16 in std::u16string, the frame in wide-character texts.
#pragma once

#include <string>

#include "framework/CString.h"

namespace viewer {

inline std::u16string ToU16(const wchar_t* text)
{
    std::u16string out;
    for (; text && *text; ++text)
        out += static_cast<char16_t>(*text);
    return out;
}

inline std::u16string ToU16(const std::wstring& text)
{
    return ToU16(text.c_str());
}

} // namespace viewer
