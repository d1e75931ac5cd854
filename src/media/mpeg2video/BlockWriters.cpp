// Portable block writers: put (intra: the transform result plus 128) and add (predicted blocks),
// both clamped to 0..255 through the pixel clamp table.
#include "media/mpeg2video/Routines.h"

namespace mpeg2video {

namespace {

// The clamp table covers the signed 16-bit indexes: clamp the index first, so a damaged block
// cannot read beside it.
inline uint8_t Clamp(const uint8_t* clamp, int v)
{
    if (v < -32768)
        v = -32768;
    else if (v > 32767)
        v = 32767;
    return clamp[v];
}

} // namespace

void PutBlockPortable(const uint8_t* clamp, const int16_t* block, uint8_t* dest, ptrdiff_t pitch)
{
    for (int y = 0; y < 8; ++y, dest += pitch, block += 8)
        for (int x = 0; x < 8; ++x)
            dest[x] = Clamp(clamp, block[x] + 128);
}

void AddBlockPortable(const uint8_t* clamp, const int16_t* block, uint8_t* dest, ptrdiff_t pitch)
{
    for (int y = 0; y < 8; ++y, dest += pitch, block += 8)
        for (int x = 0; x < 8; ++x)
            dest[x] = Clamp(clamp, dest[x] + block[x]);
}

} // namespace mpeg2video
