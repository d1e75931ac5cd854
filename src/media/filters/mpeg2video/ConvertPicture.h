// Turning decoded 4:2:0 pictures of the decoder core into the decoder filter's output formats.
//
// Every output line is the average of two source lines, even lines of picture A with odd lines of
// picture B (A = B: a vertical blend of one picture; A = previous, B = current: a blend of the
// previous picture's first field with the current picture's second one at double frame rate).
// YUY2 is written top-down as Y0 U Y1 V; RGB32 bottom-up as blue, green, red, 0 from the ITU-R
// BT.601 studio-range matrix in 6-bit fixed point. Averages round down, except in the SSE2 YUY2
// routine, which rounds up.
#pragma once

#include <cstddef>
#include <cstdint>

#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"

namespace mpeg2videofilter {

enum class OutputFormat { kYUY2, kRGB32 };

struct OutputBuffer {
    uint8_t* data = nullptr;
    size_t size = 0;    // bytes available
    size_t stride = 0;  // bytes per row
    uint32_t rows = 0;  // rows of the bitmap
    // RGB32 bitmaps are bottom-up (the picture's first row is the bitmap's last) unless the format
    // says otherwise (a negative biHeight); YUY2 is always top-down.
    bool rgbBottomUp = true;
};

// The byte offset of picture row `row` in the buffer.
size_t RowOffset(OutputFormat format, const OutputBuffer& out, uint32_t row);

// Which routine converts: the capability word's SSE2 bit picks the SSE2 YUY2 routine, its MMX bit
// the 16-bit-lane routines (YUY2 averaging down, RGB32 with halved coefficients), neither the
// plain ones.
enum class ConversionRoutine { kPlain, kMmx, kSse2 };
ConversionRoutine SelectConversion(OutputFormat format, uint32_t capabilities);

// 0 when converted; -1 (nothing written) when width or height is below 2, the pictures do not
// hold width x height, or the buffer cannot take height rows of the picture's width.
int ConvertPicture(const mpeg2video::PictureBuffer& a, const mpeg2video::PictureBuffer& b, uint32_t width,
                   uint32_t height, OutputFormat format, const OutputBuffer& out, uint32_t capabilities);

// Bytes a row of `width` pixels takes (YUY2 rows hold whole pixel pairs).
size_t RowBytes(OutputFormat format, uint32_t width);

} // namespace mpeg2videofilter
