#include "media/filters/mpeg2video/ConvertPicture.h"

#include <initializer_list>

#include "media/filters/mpeg2video/ConvertRoutines.h"

namespace mpeg2videofilter {

using mpeg2video::kCpuMmx;
using mpeg2video::kCpuSse2;
using mpeg2video::PictureBuffer;

namespace {

inline uint8_t Clamp(int v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

void LineYuy2Plain(const LineSources& s, uint8_t* dst, uint32_t pairs)
{
    for (uint32_t k = 0; k < pairs; ++k) {
        dst[0] = static_cast<uint8_t>((s.yA[2 * k] + s.yB[2 * k]) >> 1);
        dst[1] = static_cast<uint8_t>((s.uA[k] + s.uB[k]) >> 1);
        dst[2] = static_cast<uint8_t>((s.yA[2 * k + 1] + s.yB[2 * k + 1]) >> 1);
        dst[3] = static_cast<uint8_t>((s.vA[k] + s.vB[k]) >> 1);
        dst += 4;
    }
}

void LineRgb32Plain(const LineSources& s, uint8_t* dst, uint32_t pixels)
{
    for (uint32_t x = 0; x < pixels; ++x) {
        const int y = ((s.yA[x] + s.yB[x]) >> 1) - 16;
        const int cb = ((s.uA[x / 2] + s.uB[x / 2]) >> 1) - 128;
        const int cr = ((s.vA[x / 2] + s.vB[x / 2]) >> 1) - 128;
        dst[0] = Clamp((y * 74 + cb * 129 + 32) >> 6);
        dst[1] = Clamp((y * 74 - cb * 25 - cr * 52 + 32) >> 6);
        dst[2] = Clamp((y * 74 + cr * 102 + 32) >> 6);
        dst[3] = 0;
        dst += 4;
    }
}

} // namespace

void LineRgb32MmxTail(const LineSources& s, uint8_t* dst, uint32_t from, uint32_t pixels)
{
    for (uint32_t x = from; x < pixels; ++x) {
        const int y = ((s.yA[x] + s.yB[x]) >> 1) - 16;
        const int cb = ((s.uA[x / 2] + s.uB[x / 2]) >> 1) - 128;
        const int cr = ((s.vA[x / 2] + s.vB[x / 2]) >> 1) - 128;
        uint8_t* p = dst + 4 * size_t(x);
        p[0] = Clamp((y * 37 + cb * 64 + 16) >> 5);
        p[1] = Clamp((y * 37 - cb * 12 - cr * 26 + 16) >> 5);
        p[2] = Clamp((y * 37 + cr * 51 + 16) >> 5);
        p[3] = 0;
    }
}

ConversionRoutine SelectConversion(OutputFormat format, uint32_t capabilities)
{
    if (format == OutputFormat::kYUY2 && (capabilities & kCpuSse2))
        return ConversionRoutine::kSse2;
    if (capabilities & kCpuMmx)
        return ConversionRoutine::kMmx;
    return ConversionRoutine::kPlain;
}

size_t RowOffset(OutputFormat format, const OutputBuffer& out, uint32_t row)
{
    const bool bottomUp = format == OutputFormat::kRGB32 && out.rgbBottomUp;
    return size_t(bottomUp ? out.rows - 1 - row : row) * out.stride;
}

size_t RowBytes(OutputFormat format, uint32_t width)
{
    return format == OutputFormat::kYUY2 ? size_t((width + 1) / 2) * 4 : size_t(width) * 4;
}

int ConvertPicture(const PictureBuffer& a, const PictureBuffer& b, uint32_t width, uint32_t height,
                   OutputFormat format, const OutputBuffer& out, uint32_t capabilities)
{
    if (width < 2 || height < 2 || !out.data || !a.luma || !b.luma)
        return -1;
    // YUY2 reads whole pixel pairs: an odd width takes the pixel after it from the picture's margin.
    const uint32_t readWidth = format == OutputFormat::kYUY2 ? (width + 1) & ~1u : width;
    for (const PictureBuffer* p : {&a, &b}) {
        if (p->lumaRows < height || p->pitch < readWidth || p->chromaRows < (height + 1) / 2)
            return -1;
        const size_t chromaEnd = size_t((height + 1) / 2 - 1) * p->pitch + (readWidth + 1) / 2;
        if (p->luma + size_t(height - 1) * p->pitch + readWidth > p->end || p->cb + chromaEnd > p->end ||
            p->cr + chromaEnd > p->end)
            return -1;
    }
    const size_t rowBytes = RowBytes(format, width);
    if (out.rows < height || out.stride < rowBytes)
        return -1;
    if (uint64_t(out.stride) * (out.rows - 1) + rowBytes > out.size)
        return -1;

    const ConversionRoutine routine = SelectConversion(format, capabilities);
    const auto line = [&](uint32_t row, const uint8_t* yA, const uint8_t* yB, uint32_t cA, const PictureBuffer& pa,
                          uint32_t cB, const PictureBuffer& pb) {
        LineSources s;
        s.yA = yA;
        s.yB = yB;
        s.uA = pa.cb + size_t(cA) * pa.pitch;
        s.vA = pa.cr + size_t(cA) * pa.pitch;
        s.uB = pb.cb + size_t(cB) * pb.pitch;
        s.vB = pb.cr + size_t(cB) * pb.pitch;
        uint8_t* dst = out.data + RowOffset(format, out, row);
        if (format == OutputFormat::kYUY2) {
            const uint32_t pairs = readWidth / 2;
            if (routine == ConversionRoutine::kSse2)
                LineYuy2Sse2(s, dst, pairs);
            else if (routine == ConversionRoutine::kMmx)
                LineYuy2Mmx(s, dst, pairs);
            else
                LineYuy2Plain(s, dst, pairs);
        } else {
            if (routine == ConversionRoutine::kMmx)
                LineRgb32Mmx(s, dst, width);
            else
                LineRgb32Plain(s, dst, width);
        }
    };
    const auto lumaA = [&](uint32_t y) { return a.luma + size_t(y) * a.pitch; };
    const auto lumaB = [&](uint32_t y) { return b.luma + size_t(y) * b.pitch; };
    for (uint32_t i = 0; 2 * i + 2 < height; ++i) {
        line(2 * i, lumaA(2 * i), lumaB(2 * i + 1), i, a, i, b);
        line(2 * i + 1, lumaA(2 * i + 2), lumaB(2 * i + 1), i + 1, a, i, b);
    }
    line(height - 2, lumaA(height - 2), lumaB(height - 1), (height - 2) / 2, a, (height - 1) / 2, b);
    line(height - 1, lumaB(height - 1), lumaB(height - 1), (height - 1) / 2, b, (height - 1) / 2, b);
    return 0;
}

} // namespace mpeg2videofilter
