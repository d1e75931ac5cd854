// What the video renderer reads from a connection type, and how it copies a sample's rows into
// its surface. Format blocks are read at their published offsets (BITMAPINFOHEADER after a
// VIDEOINFOHEADER at 48, after a VIDEOINFOHEADER2 at 72) and only when whole.
#pragma once

#include <cstddef>
#include <cstdint>

namespace videorenderer {

enum class FormatKind { kVideoInfo, kMpegVideo, kVideoInfo2, kMpeg2Video, kOther };
enum class PixelKind { kYUY2, kRGB32, kRGB24, kARGB32, kRGB565, kRGB555, kOther };

struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct RendererFormat {
    int32_t width = 0;       // biWidth
    int32_t height = 0;      // biHeight (negative: top-down)
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    Rect source;             // the part shown: (0, 0, picture width, picture height)
    double aspect = 0.0;     // picture aspect ratio from the format, 0 when unknown
    uint32_t pictureWidth = 0, pictureHeight = 0;
};

constexpr size_t kVideoInfoHeaderBytes = 88;   // VIDEOINFOHEADER
constexpr size_t kVideoInfoHeader2Bytes = 112; // VIDEOINFOHEADER2

// Bits per pixel each subtype must declare.
uint16_t BitCountOf(PixelKind pixel);
// 0 when the block is whole and describes a picture the renderer can show: biWidth above 0,
// biHeight not 0, biBitCount fitting the subtype; -1 otherwise. The source rectangle is the
// format's rcSource, else its rcTarget, else the whole bitmap, kept inside the bitmap.
int ParseRendererFormat(FormatKind kind, PixelKind pixel, const uint8_t* block, size_t length, RendererFormat* out);

// How one sample is copied into a surface of the picture's size.
struct CopyPlan {
    size_t rowLength = 0;    // bytes per row in the sample
    size_t copyLength = 0;   // bytes copied per row: the row, cut to the surface pitch
    uint32_t rows = 0;       // picture rows
    bool bottomUp = false;   // RGB with positive biHeight: the picture's first row is the sample's last
    size_t firstRow = 0;     // byte offset in the sample of the picture's first row
};
// 0 with a plan when the sample holds every row it is read from; -1 when it is too short or the
// surface has no pitch.
int PlanRowCopy(const RendererFormat& format, PixelKind pixel, size_t sampleLength, size_t surfacePitch,
                CopyPlan* plan);

// The renderer's running estimate of the frame rate from sample start times (100-ns units).
class CFrameRateEstimate {
public:
    void Update(int64_t start);
    double Value() const { return m_estimate; }
    bool Locked() const { return m_locked; }

private:
    double m_estimate = 0.0;
    bool m_locked = false;
    int64_t m_previous = -1;
};

} // namespace videorenderer
