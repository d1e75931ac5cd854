// The teletext G0 Latin character set with its national option sub-sets (ETSI EN 300 706,
// 15.2 and Table 36), as UTF-16 for the page renderer.
#pragma once

#include <cstdint>

namespace libDVB {

constexpr unsigned kTeletextCharacterCount = 96; // codes 0x20..0x7F

// Fills `table` (index = code - 0x20) for a language number as the service derives it from the
// teletext stream's ISO 639 code: the plain G0 set with 0x7F as a filled square, then the 13
// national positions of the language's sub-set. Numbers without a sub-set keep the plain set.
void BuildTeletextCharacterTable(uint32_t languageNumber, char16_t table[kTeletextCharacterCount]);

} // namespace libDVB
