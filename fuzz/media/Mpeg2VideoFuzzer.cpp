// Arbitrary bytes through the MPEG-2 video decoder core: appended in chunks whose sizes come from
// the input itself, decoded step by step with DecodeStep and DecodeSlices, drained at the end.
// The last two bytes (a stream's sequence_end_code, which matters little) choose the portable or
// the selected routines, the skip level and the chunk size.
#include <cstddef>
#include <cstdint>

#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"

using namespace mpeg2video;

namespace {

uint64_t g_sink;

void Touch(const Mpeg2VideoDecoderCore* c, const PictureBuffer* p)
{
    // Reads every sample of the picture, so ASan sees any picture handed out wrongly.
    for (const uint8_t* q = p->storage; q < p->end; q += 61)
        g_sink += *q;
    g_sink += p->pictureCodingType + c->horizontal_size;
}

void Run(Mpeg2VideoDecoderCore* c)
{
    for (int guard = 0; guard < 100000; ++guard) {
        const int r = DecodeStep(c);
        if (r == kStepWait || r == kStepEmpty)
            return;
        if (r == kStepSequenceHeader) {
            if (c->horizontal_size != c->savedHorizontalSize || c->vertical_size != c->savedVerticalSize)
                while (PictureBuffer* p = PopOutputPicture(c))
                    Touch(c, p);
            AllocatePictureBuffers(c);
        } else if (r == kStepPicture) {
            DecodeSlices(c);
            if (PictureBuffer* p = PopOutputPictureWhenFull(c))
                Touch(c, p);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    Mpeg2VideoDecoderCore* c = nullptr;
    if (CreateDecoder(&c) != 0)
        return 0;
    const uint8_t mode = data[size - 1];
    if (mode & 1)
        SelectRoutines(c, 0);
    static const int8_t kSkipLevels[4] = {1, 2, 3, 10};
    c->skipLevel = kSkipLevels[(mode >> 1) & 3];
    const size_t chunk = 64 + size_t(data[size - 2]) * 97;
    size -= 2;
    size_t pos = 0;
    while (pos < size) {
        const size_t n = size - pos < chunk ? size - pos : chunk;
        if (AppendInput(c, data + pos, n) != 0) {
            Run(c);
            AppendInput(c, data + pos, n);
        }
        pos += n;
        Run(c);
    }
    SetDrain(c);
    Run(c);
    while (PictureBuffer* p = PopOutputPicture(c))
        Touch(c, p);
    DestroyDecoder(c);
    return 0;
}
