// The decoder filter's conversion and logo blend at any size, including odd and tiny ones: two
// pictures laid out as the core keeps them, filled from the input, converted into a buffer of
// exactly the size the caller claims (ASan catches any write past it), with a logo of a size the
// input chooses. Header bytes: width, height, format and capability bits, buffer slack, logo size.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "media/filters/mpeg2video/ConvertPicture.h"
#include "media/filters/mpeg2video/LogoOverlay.h"

using namespace mpeg2videofilter;

namespace {

struct Picture {
    std::vector<uint8_t> storage;
    mpeg2video::PictureBuffer buffer;
    Picture(uint32_t width, uint32_t height, const uint8_t* fill, size_t fillSize)
    {
        const uint32_t pitch = (width + 15) & ~15u, chromaRows = (height + 1) / 2;
        storage.resize(size_t(pitch) * height + size_t(pitch) * chromaRows);
        for (size_t i = 0; i < storage.size(); ++i)
            storage[i] = fillSize ? fill[i % fillSize] : uint8_t(i);
        buffer.storage = buffer.luma = storage.data();
        buffer.cb = storage.data() + size_t(pitch) * height;
        buffer.cr = buffer.cb + pitch / 2;
        buffer.end = storage.data() + storage.size();
        buffer.pitch = pitch;
        buffer.lumaRows = height;
        buffer.chromaRows = chromaRows;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 7)
        return 0;
    const uint32_t width = data[0] % 80, height = data[1] % 48;
    const OutputFormat format = (data[2] & 1) ? OutputFormat::kRGB32 : OutputFormat::kYUY2;
    const uint32_t caps = ((data[2] & 2) ? mpeg2video::kCpuMmx : 0) | ((data[2] & 4) ? mpeg2video::kCpuSse2 : 0);
    const int slack = int(data[3] % 16) - 8; // the buffer may be a little short or long
    const uint32_t logoWidth = data[4] % 64, logoHeight = data[5] % 32;
    const uint32_t pictureWidth = width + (data[6] & 3); // the picture may be larger than converted
    Picture a(pictureWidth ? pictureWidth : 1, height ? height : 1, data + 7, size - 7);
    Picture b(pictureWidth ? pictureWidth : 1, height ? height : 1, data + 7, size > 8 ? size - 8 : 0);
    const size_t stride = RowBytes(format, width);
    const int64_t bytes = int64_t(stride) * height + slack;
    std::vector<uint8_t> out(bytes > 0 ? size_t(bytes) : 0);
    OutputBuffer o{out.empty() ? nullptr : out.data(), out.size(), stride, height};
    const int result = ConvertPicture(a.buffer, b.buffer, width, height, format, o, caps);
    const bool fits = width >= 2 && height >= 2 && bytes >= int64_t(stride * height);
    if ((result == 0) != fits)
        __builtin_trap();
    LogoOverlay logo;
    logo.width = logoWidth;
    logo.height = logoHeight;
    logo.mask.assign(size_t(logoWidth) * logoHeight, data[4]);
    BlendLogo(logo, format, o, width, height);
    return 0;
}
