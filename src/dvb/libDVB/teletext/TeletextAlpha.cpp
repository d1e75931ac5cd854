#include "dvb/libDVB/teletext/TeletextAlpha.h"

#include <cstddef>

namespace libDVB {

void ApplyTeletextAlpha(uint32_t* pixels, int width, int height, const std::vector<uint8_t>& treated)
{
    if (!pixels || width <= 0 || height <= 0)
        return;
    for (int y = 0; y < height; ++y) {
        uint32_t* line = pixels + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(width);
        const bool shown = static_cast<size_t>(y) < treated.size() && treated[static_cast<size_t>(y)];
        for (int x = 0; x < width; ++x) {
            // GDI leaves the alpha byte of what it draws undefined, so only the colour counts.
            const uint32_t colour = line[x] & 0x00FFFFFFu;
            if (!shown)
                line[x] = colour;
            else
                line[x] = colour ? (colour | 0xFF000000u) : kTeletextTranslucentBlack;
        }
    }
}

} // namespace libDVB
