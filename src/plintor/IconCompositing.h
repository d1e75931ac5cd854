// Blending a 32-bit icon with alpha over what a row already shows, pixel by pixel, as the page
// list and the source-type list draw their icons.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plintor {

// icon and destination are `pixels` pixels of four bytes (blue, green, red, alpha); every byte
// of the destination becomes ((icon - destination) x a + destination x 256) / 256 with a the
// icon pixel's alpha, computed in 16-bit lanes and truncated to 8 bits.
void CompositeIconOver(const uint8_t* icon, uint8_t* destination, size_t pixels);

} // namespace plintor
