// Arbitrary bytes through the MPEG-2 video decoder core: appended in chunks whose sizes come from
// the input itself, decoded step by step with DecodeStep and DecodeSlices, drained at the end.
// The last two bytes (a stream's sequence_end_code, which matters little) choose the portable or
// the selected routines, the skip level and the chunk size. One core serves the whole run (its
// input buffer is large): before each input its picture buffers are freed and every field is set
// back to what creation made. Sequences of more than kMaxSamples luma samples end the input, since
// clearing their buffers would take most of the time.
#include <cstddef>
#include <cstdint>

#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"
#include "media/mpeg2video/PictureBuffers.h"

using namespace mpeg2video;

namespace {

uint64_t g_sink;
constexpr uint32_t kMaxSamples = 512 * 512;

void Touch(const Mpeg2VideoDecoderCore* c, const PictureBuffer* p)
{
    // Reads every sample of the picture, so ASan sees any picture handed out wrongly.
    for (const uint8_t* q = p->storage; q < p->end; q += 61)
        g_sink += *q;
    g_sink += p->pictureCodingType + c->horizontal_size;
}

// False when the input is given up.
bool Run(Mpeg2VideoDecoderCore* c)
{
    for (int guard = 0; guard < 100000; ++guard) {
        const int r = DecodeStep(c);
        if (r == kStepWait || r == kStepEmpty)
            return true;
        if (r == kStepSequenceHeader) {
            if (uint32_t(c->horizontal_size) * c->vertical_size > kMaxSamples)
                return false;
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
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Mpeg2VideoDecoderCore* c = [] {
        Mpeg2VideoDecoderCore* core = nullptr;
        return CreateDecoder(&core) == 0 ? core : nullptr;
    }();
    static const Mpeg2VideoDecoderCore created = *c;
    if (size < 2 || !c)
        return 0;
    FreePictureBuffers(c);
    *c = created;
    ResetInput(c);
    const uint8_t mode = data[size - 1];
    if (mode & 1)
        SelectRoutines(c, 0);
    static const int8_t kSkipLevels[4] = {1, 2, 3, 10};
    c->skipLevel = kSkipLevels[(mode >> 1) & 3];
    const size_t chunk = 64 + size_t(data[size - 2]) * 97;
    size -= 2;
    size_t pos = 0;
    bool going = true;
    while (pos < size && going) {
        const size_t n = size - pos < chunk ? size - pos : chunk;
        if (AppendInput(c, data + pos, n) != 0) {
            going = Run(c);
            AppendInput(c, data + pos, n);
        }
        pos += n;
        going = going && Run(c);
    }
    if (going) {
        SetDrain(c);
        Run(c);
        while (PictureBuffer* p = PopOutputPicture(c))
            Touch(c, p);
    }
    return 0;
}
