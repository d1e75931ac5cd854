// Upper halves of the ISO/IEC 8859 parts (0xA0-0xFF), indexed by part number; 0 = undefined.
#pragma once

namespace libDVB {

extern const char16_t kIso8859Upper[16][96];

} // namespace libDVB
