#include "media/mpeg2video/StreamDecoder.h"

#include <algorithm>
#include <cstring>

namespace test {

using namespace mpeg2video;

DecodedFrame CopyPicture(const Mpeg2VideoDecoderCore* c, const PictureBuffer* p)
{
    DecodedFrame f;
    f.codingType = p->pictureCodingType;
    // The geometry of the sequence the buffers were made for.
    const unsigned w = c->savedHorizontalSize, h = c->savedVerticalSize;
    const unsigned cw = c->savedChromaFormat == 3 ? w : (w + 1) / 2;
    const unsigned ch = c->savedChromaFormat == 1 ? (h + 1) / 2 : h;
    f.planes.resize(size_t(w) * h + 2 * size_t(cw) * ch);
    uint8_t* d = f.planes.data();
    for (unsigned y = 0; y < h; ++y, d += w)
        std::memcpy(d, p->luma + size_t(y) * p->pitch, w);
    for (const uint8_t* plane : {p->cb, p->cr})
        for (unsigned y = 0; y < ch; ++y, d += cw)
            std::memcpy(d, plane + size_t(y) * p->pitch, cw);
    return f;
}

void RunSteps(Mpeg2VideoDecoderCore* c, DecodedStream& out, bool remakeBuffers)
{
    for (;;) {
        const int r = DecodeStep(c);
        if (r == kStepWait || r == kStepEmpty)
            return;
        if (r == kStepSequenceHeader) {
            ++out.sequenceHeaders;
            if (!remakeBuffers && c->sequenceReady)
                continue;
            // As the decoder filter does: a new geometry delivers the queued pictures first.
            if (c->horizontal_size != c->savedHorizontalSize || c->vertical_size != c->savedVerticalSize ||
                c->chroma_format != c->savedChromaFormat)
                while (PictureBuffer* p = PopOutputPicture(c))
                    out.frames.push_back(CopyPicture(c, p));
            if (AllocatePictureBuffers(c))
                ++out.buffersMade;
            out.width = c->horizontal_size;
            out.height = c->vertical_size;
            out.chromaWidth = c->chroma_format == 3 ? out.width : (out.width + 1) / 2;
            out.chromaHeight = c->chroma_format == 1 ? (out.height + 1) / 2 : out.height;
        } else if (r == kStepPicture) {
            ++out.pictures;
            DecodeSlices(c);
            if (PictureBuffer* p = PopOutputPictureWhenFull(c))
                out.frames.push_back(CopyPicture(c, p));
        }
    }
}

DecodedStream DecodeWholeStream(const std::vector<uint8_t>& bytes, const DecodeOptions& options)
{
    DecodedStream out;
    Mpeg2VideoDecoderCore* c = nullptr;
    if (CreateDecoder(&c) != 0)
        return out;
    if (options.portable)
        SelectRoutines(c, 0);
    c->skipLevel = options.skipLevel;
    size_t pos = 0;
    size_t cut = 0;
    while (pos < bytes.size()) {
        while (cut < options.cuts.size() && options.cuts[cut] <= pos)
            ++cut;
        const size_t end = cut < options.cuts.size() ? options.cuts[cut] : options.cuts.empty()
                                                                              ? pos + options.chunk
                                                                              : bytes.size();
        const size_t n = std::min(end, bytes.size()) - pos;
        if (AppendInput(c, bytes.data() + pos, n) != 0) {
            // Buffer full: decode what is there first.
            RunSteps(c, out, options.callerRemakesBuffers);
            if (AppendInput(c, bytes.data() + pos, n) != 0)
                break;
        }
        pos += n;
        RunSteps(c, out, options.callerRemakesBuffers);
    }
    SetDrain(c);
    RunSteps(c, out, options.callerRemakesBuffers);
    while (PictureBuffer* p = PopOutputPicture(c))
        out.frames.push_back(CopyPicture(c, p));
    DestroyDecoder(c);
    return out;
}

std::vector<size_t> PictureStarts(const std::vector<uint8_t>& bytes)
{
    std::vector<size_t> starts;
    for (size_t i = 0; i + 4 <= bytes.size(); ++i)
        if (bytes[i] == 0 && bytes[i + 1] == 0 && bytes[i + 2] == 1 && bytes[i + 3] == 0)
            starts.push_back(i);
    return starts;
}

} // namespace test
