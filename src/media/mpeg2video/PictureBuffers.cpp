#include "media/mpeg2video/PictureBuffers.h"

#include <cstring>
#include <new>
#include <utility>

namespace mpeg2video {

namespace {

void FreePictureBuffer(PictureBuffer*& p)
{
    if (p) {
        delete[] p->storage;
        delete p;
        p = nullptr;
    }
}

} // namespace

PictureBuffer* AllocatePictureBuffer(const Mpeg2VideoDecoderCore* c)
{
    const size_t lumaBytes = size_t(c->lumaHeight + 16) * c->lumaWidth;
    const size_t chromaBytes = 2 * size_t(c->chromaHeight + 8) * c->chromaWidth;
    PictureBuffer* p = new (std::nothrow) PictureBuffer();
    if (!p)
        return nullptr;
    p->storage = new (std::nothrow) uint8_t[lumaBytes + chromaBytes];
    if (!p->storage) {
        delete p;
        return nullptr;
    }
    p->storageSize = lumaBytes + chromaBytes;
    p->luma = p->storage;
    p->cb = p->storage + lumaBytes;
    p->cr = c->chroma_format == 3 ? p->cb + size_t(c->chromaHeight + 8) * c->chromaWidth : p->cb + c->chromaWidth;
    p->end = p->storage + p->storageSize;
    p->lumaRows = c->vertical_size;
    p->chromaRows = c->chromaHeight;
    p->pitch = c->lumaWidth;
    p->pictureCodingType = 0;
    // Everything white-ish until decoded: also the margins, so that no prediction reads memory
    // that was never written.
    std::memset(p->storage, 255, p->storageSize);
    return p;
}

void FreePictureBuffers(Mpeg2VideoDecoderCore* c)
{
    FreePictureBuffer(c->forwardReference);
    FreePictureBuffer(c->backwardReference);
    FreePictureBuffer(c->bPicture[0]);
    FreePictureBuffer(c->bPicture[1]);
    c->current = nullptr;
    c->outputCount = 0;
}

namespace {

uint32_t SequenceMacroblockRows(const Mpeg2VideoDecoderCore* c)
{
    return (c->progressive_sequence || !c->mpeg2) ? (c->vertical_size + 15u) / 16u
                                                  : 2 * ((c->vertical_size + 31u) / 32u);
}

} // namespace

bool PictureBuffersFitSequence(const Mpeg2VideoDecoderCore* c)
{
    // Everything that shapes the buffers: the sizes, the chroma format and the macroblock rows
    // (which progressive_sequence changes for some heights).
    return c->forwardReference && c->horizontal_size == c->savedHorizontalSize &&
           c->vertical_size == c->savedVerticalSize && c->chroma_format == c->savedChromaFormat &&
           SequenceMacroblockRows(c) == c->mbHeight;
}

bool AllocatePictureBuffers(Mpeg2VideoDecoderCore* c)
{
    if (!c->mpeg2) {
        c->progressive_sequence = 1;
        c->progressive_frame = 1;
        c->picture_structure = 3;
        c->frame_pred_frame_dct = 1;
        c->chroma_format = 1;
        c->matrix_coefficients = 5;
    }
    if (c->horizontal_size == 0 || c->vertical_size == 0 || c->horizontal_size > kMaxPictureDimension ||
        c->vertical_size > kMaxPictureDimension || c->chroma_format == 0) {
        // Nothing can be decoded into such a sequence: wait for a usable sequence header.
        FreePictureBuffers(c);
        c->savedHorizontalSize = c->savedVerticalSize = 0;
        c->sequenceReady = 0;
        return false;
    }
    bool made = false;
    // The geometry fields always describe the buffers in hand.
    if (!(PictureBuffersFitSequence(c) && c->aspect_ratio_information == c->savedAspect)) {
        c->mbWidth = (c->horizontal_size + 15u) / 16u;
        c->mbHeight = SequenceMacroblockRows(c);
        c->lumaWidth = 16 * c->mbWidth;
        c->lumaHeight = 16 * c->mbHeight;
        c->chromaWidth = c->chroma_format == 3 ? c->lumaWidth : c->lumaWidth / 2;
        c->chromaHeight = c->chroma_format == 1 ? c->lumaHeight / 2 : c->lumaHeight;
        c->blocksPerMacroblock = c->chroma_format == 1 ? 6 : c->chroma_format == 2 ? 8 : 12;
        FreePictureBuffers(c);
        c->forwardReference = AllocatePictureBuffer(c);
        c->backwardReference = AllocatePictureBuffer(c);
        c->bPicture[0] = AllocatePictureBuffer(c);
        c->bPicture[1] = AllocatePictureBuffer(c);
        c->current = nullptr;
        if (!c->forwardReference || !c->backwardReference || !c->bPicture[0] || !c->bPicture[1]) {
            FreePictureBuffers(c);
            c->savedHorizontalSize = c->savedVerticalSize = 0;
            c->sequenceReady = 0;
            return false;
        }
        made = true;
    }
    c->savedHorizontalSize = c->horizontal_size;
    c->savedVerticalSize = c->vertical_size;
    c->savedAspect = c->aspect_ratio_information;
    c->savedFrameRateCode = c->frame_rate_code;
    c->savedBitRate = c->bit_rate;
    c->savedVbvBufferSize = c->vbv_buffer_size;
    c->savedChromaFormat = c->chroma_format;
    c->lastOutputKey = 0;
    c->outputQueue[0].key = -3;
    c->outputQueue[1].key = -2;
    c->firstFieldPending = 0;
    c->sequenceReady = 1;
    return made;
}

void RotatePictureBuffers(Mpeg2VideoDecoderCore* c)
{
    if (c->picture_coding_type == 3) {
        // The second field of a B frame goes into the buffer of its first field.
        if (!c->secondField)
            std::swap(c->bPicture[0], c->bPicture[1]);
        c->current = c->bPicture[0];
    } else {
        if (!c->secondField)
            std::swap(c->forwardReference, c->backwardReference);
        c->current = c->backwardReference;
    }
}

void QueueOutputPicture(Mpeg2VideoDecoderCore* c)
{
    if (!c->current)
        return;
    // A frame coded as two fields is of the type of its first field (an I frame may carry a P
    // second field).
    c->current->pictureCodingType = c->secondField ? c->firstFieldCodingType : c->picture_coding_type;
    const int32_t key = c->temporal_reference;
    if (c->outputCount == 0) {
        c->outputQueue[0] = {key, c->current};
        c->outputCount = 1;
    } else if (c->outputCount == 1) {
        if (key <= c->outputQueue[0].key) {
            c->outputQueue[1] = c->outputQueue[0];
            c->outputQueue[0] = {key, c->current};
        } else {
            c->outputQueue[1] = {key, c->current};
        }
        c->outputCount = 2;
    }
}

PictureBuffer* PopOutputPicture(Mpeg2VideoDecoderCore* c)
{
    if (c->outputCount < 1)
        return nullptr;
    PictureBuffer* p = c->outputQueue[0].picture;
    c->lastOutputKey = c->outputQueue[0].key;
    c->firstOutputPending = 0;
    c->outputQueue[0] = c->outputQueue[1];
    --c->outputCount;
    return p;
}

PictureBuffer* PopOutputPictureWhenFull(Mpeg2VideoDecoderCore* c)
{
    if (c->outputCount == 2)
        return PopOutputPicture(c);
    // The first picture after a start or reset with temporal_reference 0 comes first in display
    // order (ISO/IEC 13818-2, 6.3.9): no later-coded picture can go before it, so it need not wait
    // for the next one to be decoded. A channel start shows it one picture earlier.
    if (c->outputCount == 1 && c->firstOutputPending && c->outputQueue[0].key == 0)
        return PopOutputPicture(c);
    return nullptr;
}

void ClearOutputQueue(Mpeg2VideoDecoderCore* c)
{
    c->outputCount = 0;
    c->firstOutputPending = 1;
}

} // namespace mpeg2video
