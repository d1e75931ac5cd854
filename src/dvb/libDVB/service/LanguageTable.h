// ISO 639-2 language codes of audio and subtitle streams: packed into 24 bits (letters folded to
// lower case) and mapped to Windows primary language identifiers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace libDVB {

uint32_t PackLanguageCode(const uint8_t code[3]);
// The language identifier of a packed code; 0 when the table does not know it.
uint16_t LanguageIdFromCode(uint32_t packedCode);
size_t LanguageTableSize();

} // namespace libDVB
