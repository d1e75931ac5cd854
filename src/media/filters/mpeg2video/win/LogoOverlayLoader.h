// Makes a logo overlay from a bitmap resource of a module: the bitmap is drawn into a 32-bit
// top-down device-independent bitmap and the blue byte of each pixel becomes the mask.
#pragma once

#include <windows.h>

#include "media/filters/mpeg2video/LogoOverlay.h"

namespace mpeg2videofilter {

// Bitmap resources of the two logos.
constexpr int kSmallLogoResource = 136; // 133 x 48
constexpr int kLargeLogoResource = 137; // 174 x 63

// An empty overlay when the module has no such bitmap.
LogoOverlay LoadLogoOverlay(HMODULE module, int resourceId);
// The module that holds this code (the program, or the library the filter is linked into).
HMODULE CurrentModule();

} // namespace mpeg2videofilter
