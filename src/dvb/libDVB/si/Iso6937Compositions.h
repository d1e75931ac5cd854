// Precomposed letters for the non-spacing diacritical marks of the default DVB character table.
#pragma once

#include <cstddef>
#include <cstdint>

namespace libDVB {

struct CIso6937Composition {
    uint8_t mark;
    char base;
    char16_t composed;
};

extern const CIso6937Composition kIso6937Compositions[];
extern const size_t kIso6937CompositionCount;

} // namespace libDVB
