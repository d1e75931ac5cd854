#include "media/filters/videorenderer/RendererFormat.h"

#include <cmath>

#include "base/ByteReader.h"

namespace videorenderer {

namespace {

Rect ReadRect(base::CByteReader& r)
{
    Rect rect;
    rect.left = int32_t(r.U32LE());
    rect.top = int32_t(r.U32LE());
    rect.right = int32_t(r.U32LE());
    rect.bottom = int32_t(r.U32LE());
    return rect;
}

bool HasExtent(const Rect& r) { return r.right != 0 && r.bottom != 0; }

} // namespace

uint16_t BitCountOf(PixelKind pixel)
{
    switch (pixel) {
    case PixelKind::kYUY2:
    case PixelKind::kRGB565:
    case PixelKind::kRGB555: return 16;
    case PixelKind::kRGB24: return 24;
    case PixelKind::kRGB32:
    case PixelKind::kARGB32: return 32;
    default: return 0;
    }
}

int ParseRendererFormat(FormatKind kind, PixelKind pixel, const uint8_t* block, size_t length, RendererFormat* out)
{
    if (!block || !out || kind == FormatKind::kOther)
        return -1;
    const bool v2 = kind == FormatKind::kVideoInfo2 || kind == FormatKind::kMpeg2Video;
    const size_t needed = v2 ? kVideoInfoHeader2Bytes : kVideoInfoHeaderBytes;
    if (length < needed)
        return -1;
    base::CByteReader r(block, needed);
    RendererFormat f;
    const Rect source = ReadRect(r);
    const Rect target = ReadRect(r);
    r.Skip(8 + 8); // bit rate, bit error rate, AvgTimePerFrame
    uint32_t aspectX = 0, aspectY = 0;
    if (v2) {
        r.Skip(8); // interlace and copy-protection flags
        aspectX = r.U32LE();
        aspectY = r.U32LE();
        r.Skip(8);
    }
    r.Skip(4); // biSize
    f.width = int32_t(r.U32LE());
    f.height = int32_t(r.U32LE());
    r.Skip(2);
    f.bitCount = r.U16LE();
    f.compression = r.U32LE();
    f.sizeImage = r.U32LE();
    if (r.Overrun() || f.width <= 0 || f.height == 0 || f.height == INT32_MIN || f.bitCount != BitCountOf(pixel))
        return -1;
    const int32_t rows = f.height < 0 ? -f.height : f.height;
    f.source = Rect{0, 0, f.width, rows};
    if (kind == FormatKind::kVideoInfo || kind == FormatKind::kVideoInfo2) {
        if (HasExtent(target))
            f.source = target;
        if (HasExtent(source))
            f.source = source;
    }
    // The surface is as large as the rectangle's right and bottom; rows are copied from the
    // bitmap's start, so the rectangle must lie within the bitmap.
    f.source.left = f.source.top = 0;
    if (f.source.right <= 0 || f.source.right > f.width)
        f.source.right = f.width;
    // A negative bottom marks a top-down rectangle; the most negative has no magnitude and gets
    // the bitmap's height below.
    if (f.source.bottom < 0)
        f.source.bottom = f.source.bottom == INT32_MIN ? 0 : -f.source.bottom;
    if (f.source.bottom == 0 || f.source.bottom > rows)
        f.source.bottom = rows;
    f.pictureWidth = uint32_t(f.source.right);
    f.pictureHeight = uint32_t(f.source.bottom);
    if (kind == FormatKind::kVideoInfo || kind == FormatKind::kVideoInfo2) {
        if (source.right != 0 && source.bottom != 0)
            f.aspect = double(source.right) / double(source.bottom);
        else if (target.right != 0 && target.bottom != 0)
            f.aspect = double(target.right) / double(target.bottom);
        if (v2 && aspectX != 0 && aspectY != 0)
            f.aspect = double(aspectX) / double(aspectY);
    }
    *out = f;
    return 0;
}

int PlanRowCopy(const RendererFormat& format, PixelKind pixel, size_t sampleLength, size_t surfacePitch,
                CopyPlan* plan)
{
    if (!plan || format.width <= 0 || format.height == 0 || surfacePitch == 0)
        return -1;
    CopyPlan p;
    p.rowLength = size_t(format.bitCount / 8) * size_t(format.width);
    p.rows = format.pictureHeight;
    p.copyLength = p.rowLength < surfacePitch ? p.rowLength : surfacePitch;
    const bool rgb = pixel != PixelKind::kYUY2 && pixel != PixelKind::kOther;
    p.bottomUp = rgb && format.height > 0;
    const uint64_t bitmapRows = uint64_t(format.height < 0 ? -int64_t(format.height) : format.height);
    if (p.rows == 0 || p.rows > bitmapRows || p.rowLength == 0)
        return -1;
    // Bottom-up: the picture's first row is the bitmap's last, so the whole bitmap must be there.
    const uint64_t rowsRead = p.bottomUp ? bitmapRows : p.rows;
    if (uint64_t(p.rowLength) * rowsRead > sampleLength)
        return -1;
    p.firstRow = p.bottomUp ? size_t(bitmapRows - 1) * p.rowLength : 0;
    *plan = p;
    return 0;
}

void CFrameRateEstimate::Update(int64_t start)
{
    if (m_locked)
        return;
    const int64_t previous = m_previous;
    m_previous = start;
    if (previous < 0)
        return;
    // Equal or falling times (a repeated or reordered sample) say nothing about the rate.
    if (start <= previous)
        return;
    const double rate = 10000000.0 / double(start - previous);
    m_locked = std::fabs(rate - m_estimate) < 0.00001;
    if (m_estimate > 10000.0 || m_estimate < 0.0)
        m_estimate = 0.0;
    m_estimate = m_estimate == 0.0 ? rate : (rate + m_estimate) * 0.5;
}

} // namespace videorenderer
