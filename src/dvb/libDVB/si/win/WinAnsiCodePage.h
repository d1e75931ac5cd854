// The system's ANSI code page as the DVB text fallback (Windows build only).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace libDVB {

// MultiByteToWideChar with CP_ACP; install it with SetAnsiConverter(&SystemAnsiToUtf16).
std::u16string SystemAnsiToUtf16(const uint8_t* data, size_t length);

} // namespace libDVB
