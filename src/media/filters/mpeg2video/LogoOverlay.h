// The logo blended into the top-right corner of every decoded frame: an 8-bit mask (0 leaves the
// pixel, 255 pushes it fully away from its brightness), row by row from the top. An empty overlay
// (no bitmap) draws nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "media/filters/mpeg2video/ConvertPicture.h"

namespace mpeg2videofilter {

struct LogoOverlay {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> mask; // width x height

    bool Empty() const { return width == 0 || height == 0 || mask.size() < size_t(width) * height; }
};

// Distance of the logo from the picture's top and right edges.
constexpr uint32_t kLogoMargin = 16;
// Pictures up to this width take the small logo, wider ones the large one.
constexpr uint32_t kSmallLogoMaxWidth = 820;

// Blends the logo into a frame that ConvertPicture wrote (same format, buffer and size). Dark
// pixels are lightened and light ones darkened, so the logo shows on any picture. Nothing happens
// when the picture is smaller than the logo plus its margin.
void BlendLogo(const LogoOverlay& logo, OutputFormat format, const OutputBuffer& out, uint32_t width, uint32_t height);

} // namespace mpeg2videofilter
