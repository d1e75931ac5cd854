// The alpha pass over a drawn teletext bitmap: the on-screen display blends the page over the
// picture, so shown rows get black as translucent black and colours opaque, and the rest nothing.
#pragma once

#include <cstdint>
#include <vector>

namespace libDVB {

constexpr uint32_t kTeletextTranslucentBlack = 0xB0000000u;

// `pixels`: width x height 0xAARRGGBB, the bottom row first (a bottom-up DIB). `treated` flags the
// pixel rows counted from the top; rows beyond it are untreated.
void ApplyTeletextAlpha(uint32_t* pixels, int width, int height, const std::vector<uint8_t>& treated);

} // namespace libDVB
