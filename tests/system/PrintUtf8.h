// A console line in UTF-8 for the Python side that reads the tools' output.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace test {

inline void PrintUtf8(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &utf8[0], size, nullptr, nullptr);
    std::printf("%s\n", utf8.c_str());
    std::fflush(stdout);
}

} // namespace test
