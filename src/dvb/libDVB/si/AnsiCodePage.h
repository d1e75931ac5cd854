// The 8-bit conversion that DVB texts fall back on when they select a character table this library
// carries no mapping for (the two-byte Korean and Chinese tables, reserved selectors). It belongs
// to the program, not to the parser: the Windows build installs the system's ANSI code page
// (SystemAnsiToUtf16, win/WinAnsiCodePage.h), and until an owner installs one the fixed Windows-1252
// table below is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace libDVB {

using AnsiToUtf16Function = std::u16string (*)(const uint8_t* data, size_t length);

// Installs the conversion (null restores the fixed table). Safe to call from any thread.
void SetAnsiConverter(AnsiToUtf16Function converter);
AnsiToUtf16Function GetAnsiConverter();

// Windows-1252; the five positions it leaves undefined map to the same code point, as the
// system conversion does.
std::u16string FixedAnsiToUtf16(const uint8_t* data, size_t length);

} // namespace libDVB
