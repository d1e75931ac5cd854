#include "plintor/IconCompositing.h"

namespace plintor {

void CompositeIconOver(const uint8_t* icon, uint8_t* destination, size_t pixels)
{
    for (size_t i = 0; i < pixels; ++i) {
        const uint16_t alpha = icon[4 * i + 3];
        for (size_t byte = 4 * i; byte < 4 * i + 4; ++byte) {
            // The true value dest x (256 - a) + icon x a never exceeds 255 x 256, so the 16-bit
            // lanes hold it exactly even though the difference wraps.
            const uint16_t difference = static_cast<uint16_t>(icon[byte] - destination[byte]);
            const uint16_t sum =
                static_cast<uint16_t>(difference * alpha + static_cast<uint16_t>(destination[byte] << 8));
            destination[byte] = static_cast<uint8_t>(sum >> 8);
        }
    }
}

} // namespace plintor
