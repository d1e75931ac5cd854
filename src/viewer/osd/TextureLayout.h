// Where the frames of a skin image land in its texture. A skin image has a 1-pixel border that is
// never drawn; its frames are stacked from the top, each (height - 2) / frames pixels high.
#pragma once

#include <vector>

namespace OnScreenDisplay {

// The smallest power of two at least n (1 for n <= 1).
unsigned NextPowerOfTwo(unsigned n);

struct FrameRect {
    float left, top, right, bottom; // texture coordinates
};

struct FrameLayout {
    unsigned textureWidth = 0, textureHeight = 0;
    int contentWidth = 0, frameContentHeight = 0;
    double aspect = 1.0;
    std::vector<FrameRect> frames;
};

// False for an image too small to hold its frames (narrower than 3 pixels, or shorter than the
// frames plus the border); frames below 1 count as 1.
bool ComputeFrameLayout(int width, int height, int frames, FrameLayout* layout);

// The square texture edge a bitmap of that size is copied into: 64, doubled while it is below the
// width, then while it is below the height.
unsigned BitmapTextureEdge(int width, int height);

} // namespace OnScreenDisplay
