// Channel logos scaled to a list row: the size that keeps the logo's aspect, and the bilinear
// resampling of its 32-bit pixels.
#pragma once

#include <cstdint>
#include <vector>

namespace plintor {

// The size of a logo scaled to `height` with its aspect kept (the width at least 1). False for a
// logo with a zero side (one that failed to load) or a zero height: it is not drawn.
bool LogoTargetSize(uint32_t width, uint32_t height, uint32_t targetHeight, uint32_t* targetWidth);

// Resamples a top-down image of four bytes per pixel (rows of 4 x width bytes) to the target
// size. Per axis f = target / source; target pixel x samples source position x / f, plus f when
// f is below 1; each byte is p00 + (p10 - p00) fx + ((p11 - p10 - p01 + p00) fx + (p01 - p00)) fy
// rounded down, a neighbour past the last column or row counting as the pixel itself. False,
// with `out` untouched, for a zero side or too few source bytes.
bool ScaleLogo(const std::vector<uint8_t>& source, uint32_t width, uint32_t height, uint32_t targetWidth,
               uint32_t targetHeight, std::vector<uint8_t>* out);

} // namespace plintor
