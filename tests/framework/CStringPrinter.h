// Test failures show a CString as its text.
#pragma once

#include <ostream>
#include <string>

#include "framework/CString.h"

inline void PrintTo(const CString& text, std::ostream* out)
{
    // UTF-8 of the code units; a lone surrogate shows as '?'.
    std::string utf8;
    for (int i = 0; i < text.GetLength(); ++i) {
        unsigned long unit = static_cast<unsigned long>(text[i]);
        if (unit < 0x80) {
            utf8 += static_cast<char>(unit);
        } else if (unit < 0x800) {
            utf8 += static_cast<char>(0xC0 | (unit >> 6));
            utf8 += static_cast<char>(0x80 | (unit & 0x3F));
        } else if (unit >= 0xD800 && unit < 0xE000) {
            utf8 += '?';
        } else {
            utf8 += static_cast<char>(0xE0 | (unit >> 12));
            utf8 += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    *out << '"' << utf8 << '"';
}
