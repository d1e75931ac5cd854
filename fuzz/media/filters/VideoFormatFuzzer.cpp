// The two video filters' format checks on arbitrary format blocks: the decoder's MPEG2VIDEOINFO
// reading (with its throw-away core), and the renderer's reading of the four layouts followed by
// a row copy of a sample into a surface exactly as large as the plan says, so any plan that reads
// or writes past either buffer shows under ASan.
// The first byte chooses the check (and for the renderer the layout and subtype); for the
// renderer the next four bytes give the sample length and the surface pitch.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "media/filters/mpeg2video/InputFormat.h"
#include "media/filters/videorenderer/RendererFormat.h"

using namespace videorenderer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 5)
        return 0;
    const uint8_t selector = data[0];
    if (selector & 0x80) {
        mpeg2videofilter::InputFormat format;
        if (mpeg2videofilter::ParseInputFormat(data + 1, size - 1, &format) == 0) {
            if (format.width < 2 || format.height < 2 || format.frameRate <= 0)
                __builtin_trap();
            if (format.sequenceHeaderBytes &&
                (format.sequenceHeader < data + 1 || format.sequenceHeader + format.sequenceHeaderBytes > data + size))
                __builtin_trap();
        }
        return 0;
    }
    const FormatKind kind = static_cast<FormatKind>(selector % 5);
    const PixelKind pixel = static_cast<PixelKind>((selector / 5) % 7);
    const size_t sampleLength = size_t(data[1] | (data[2] << 8)) * 64;
    const size_t pitch = size_t(data[3] | (data[4] << 8));
    RendererFormat format;
    if (ParseRendererFormat(kind, pixel, data + 5, size - 5, &format) != 0)
        return 0;
    if (format.pictureWidth == 0 || format.pictureHeight == 0 || format.pictureWidth > uint32_t(format.width))
        __builtin_trap();
    CopyPlan plan;
    if (PlanRowCopy(format, pixel, sampleLength, pitch, &plan) != 0)
        return 0;
    if (plan.copyLength > pitch || uint64_t(plan.rows) * pitch > (uint64_t(1) << 22))
        return 0; // a surface this large is not made here
    std::vector<uint8_t> sample(sampleLength), surface(size_t(plan.rows) * pitch);
    const uint8_t* row = sample.data() + plan.firstRow;
    uint8_t* dst = surface.data();
    for (uint32_t r = 0; r < plan.rows; ++r) {
        // Checked arithmetic stands in for the memory the real copy would touch.
        const size_t at = size_t(row - sample.data());
        if (at + plan.copyLength > sample.size())
            __builtin_trap();
        std::memcpy(dst, row, plan.copyLength);
        dst += pitch;
        if (r + 1 < plan.rows)
            row = plan.bottomUp ? row - plan.rowLength : row + plan.rowLength;
    }
    return 0;
}
