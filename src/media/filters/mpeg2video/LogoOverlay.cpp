#include "media/filters/mpeg2video/LogoOverlay.h"

namespace mpeg2videofilter {

void BlendLogo(const LogoOverlay& logo, OutputFormat format, const OutputBuffer& out, uint32_t width, uint32_t height)
{
    if (logo.Empty() || width < logo.width + kLogoMargin || height < logo.height + kLogoMargin)
        return;
    if (out.rows < height || out.stride < RowBytes(format, width) ||
        uint64_t(out.stride) * (out.rows - 1) + RowBytes(format, width) > out.size)
        return;
    const uint32_t left = width - logo.width - kLogoMargin;
    for (uint32_t ly = 0; ly < logo.height; ++ly) {
        const uint32_t y = kLogoMargin + ly;
        const uint8_t* mask = logo.mask.data() + size_t(ly) * logo.width;
        if (format == OutputFormat::kYUY2) {
            uint8_t* row = out.data + RowOffset(format, out, y);
            for (uint32_t lx = 0; lx < logo.width; ++lx) {
                const unsigned a = mask[lx];
                uint8_t& luma = row[2 * size_t(left + lx)];
                const unsigned v = luma;
                luma = static_cast<uint8_t>(v <= 128 ? ((255 - a) * v + 255 * a) / 256 : (255 - a) * v / 256);
            }
        } else {
            uint8_t* row = out.data + RowOffset(format, out, y);
            for (uint32_t lx = 0; lx < logo.width; ++lx) {
                const unsigned a = mask[lx];
                uint8_t* p = row + 4 * size_t(left + lx);
                const bool light = p[1] > 128;
                for (int c = 0; c < 3; ++c)
                    p[c] = static_cast<uint8_t>(light ? (255 - a) * p[c] / 256 : ((255 - a) * p[c] + 255 * a) / 256);
            }
        }
    }
}

} // namespace mpeg2videofilter
