#include "viewer/osd/TextureLayout.h"

#include <cstdlib>

namespace OnScreenDisplay {

unsigned NextPowerOfTwo(unsigned n)
{
    unsigned p = 1;
    while (p < n && p < 0x80000000u)
        p <<= 1;
    return p;
}

bool ComputeFrameLayout(int width, int height, int frames, FrameLayout* layout)
{
    if (frames < 1)
        frames = 1;
    if (width < 3 || height < frames + 2)
        return false;
    FrameLayout l;
    l.textureWidth = NextPowerOfTwo(static_cast<unsigned>(width));
    l.textureHeight = NextPowerOfTwo(static_cast<unsigned>(height));
    l.contentWidth = width - 2;
    l.frameContentHeight = (height - 2) / frames;
    // Quarter-pixel insets keep linear filtering inside the frame.
    const float w2 = static_cast<float>(l.textureWidth), h2 = static_cast<float>(l.textureHeight);
    for (int i = 0; i < frames; ++i) {
        l.frames.push_back({1.25f / w2, (i * l.frameContentHeight + 1.25f) / h2, (l.contentWidth + 0.75f) / w2,
                            ((i + 1) * l.frameContentHeight + 0.75f) / h2});
    }
    l.aspect = static_cast<double>(l.contentWidth) / l.frameContentHeight;
    *layout = l;
    return true;
}

unsigned BitmapTextureEdge(int width, int height)
{
    unsigned edge = 64;
    const unsigned w = static_cast<unsigned>(std::abs(width)), h = static_cast<unsigned>(std::abs(height));
    while (edge < w && edge < 0x80000000u)
        edge <<= 1;
    while (edge < h && edge < 0x80000000u)
        edge <<= 1;
    return edge;
}

} // namespace OnScreenDisplay
