// DVB texts (ETSI EN 300 468 annex A) to UTF-16.
//
// The first byte of a text may select its character table: 0x01-0x0B and 0x10 0x00 nn pick an
// ISO/IEC 8859 part, 0x11 is the two-byte Basic Multilingual Plane, 0x15 UTF-8; without a selector
// the text is in the default table (ISO/IEC 6937 with its non-spacing diacritical marks). Control
// codes are taken out in the table's own coding (0x80-0x9F in the one-byte tables, U+E080-U+E09F in
// the two-byte table and in UTF-8), so a byte of a multi-byte character is never mistaken for one.
// Tables without a mapping here (0x12-0x14 and reserved selectors) go through the program's 8-bit
// converter (AnsiCodePage.h). The control code CR/LF (0x8A, U+E08A) is a line break ("\r\n");
// the other control codes add nothing. The result is trimmed of white space at both ends, unless
// it is one part of a longer text (extended event descriptors), which is trimmed as a whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/ByteReader.h"

namespace libDVB {

// Converts the characters of one text (without its length byte). A 0x00 character ends the text.
std::u16string ConvertDVBText(const uint8_t* data, size_t length, bool trim = true);

// Reads a length-prefixed text: the length byte, then that many bytes, but never more than remain
// in the reader (the field is cut at the end of its descriptor). Nothing left: empty text.
std::u16string ReadDVBText(base::CByteReader& reader, bool trim = true);

// Takes white space off both ends of a text.
void TrimDVBText(std::u16string& text);

// Reads a length-prefixed 8-bit string, kept as raw bytes, with the same bound.
std::string ReadLengthPrefixedString(base::CByteReader& reader);

} // namespace libDVB
