// The picture layer: slices and macroblocks of one coded picture (ISO/IEC 13818-2 6.2.4, 6.2.5,
// 7.2, 7.6; ISO/IEC 11172-2 2.4.2.7 to 2.4.3.6), reconstructed into the current picture buffer.
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/Trace.h"
#include "media/mpeg2video/BitReader.h"
#include "media/mpeg2video/BlockDecoder.h"
#include "media/mpeg2video/MotionCompensation.h"
#include "media/mpeg2video/PictureBuffers.h"
#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"
#include "media/mpeg2video/Tables.h"
#include "media/mpeg2video/VlcTables.h"

namespace mpeg2video {

namespace {

struct SliceState {
    int address = 0;
    int increment = 0;
    int dc[3] = {};
    MotionVectors mv = {};
};

bool IsSliceCode(uint8_t code) { return code >= 0x01 && code <= 0xAF; }

// Steps over every slice of a picture that is not decoded.
void SkipSlices(Mpeg2VideoDecoderCore* c)
{
    while (NextStartCode(c)) {
        const size_t at = AlignedBytePosition(c);
        if (!IsSliceCode(c->input[at + 3]))
            return;
        SeekReader(c, at + 4);
    }
}

int ReadAddressIncrement(Mpeg2VideoDecoderCore* c)
{
    const VlcTables& t = *c->vlc;
    int increment = 0;
    for (;;) {
        Refill(c);
        const uint32_t v = PeekBits(c, 11);
        if (v >= 1024) {
            ConsumeBits(c, 1);
            return increment + 1;
        }
        const VlcEntry e = t.addressIncrement[v];
        if (!e.length || PastEnd(c)) {
            c->error = 1;
            return 0;
        }
        ConsumeBits(c, e.length);
        if (e.value == kAddressStuffing)
            continue;
        if (e.value == kAddressEscape) {
            increment += 33;
            continue;
        }
        return increment + e.value;
    }
}

uint8_t ReadMacroblockType(Mpeg2VideoDecoderCore* c)
{
    const VlcTables& t = *c->vlc;
    Refill(c);
    switch (c->picture_coding_type) {
    case 1: {
        const uint32_t v = PeekBits(c, 2);
        if (v & 2) {
            ConsumeBits(c, 1);
            return kMbIntra;
        }
        if (v == 1) {
            ConsumeBits(c, 2);
            return kMbIntra | kMbQuant;
        }
        break;
    }
    case 2:
    case 3: {
        const VlcEntry e = (c->picture_coding_type == 2 ? t.macroblockTypeP : t.macroblockTypeB)[PeekBits(c, 6)];
        if (e.length) {
            ConsumeBits(c, e.length);
            return uint8_t(e.value);
        }
        break;
    }
    case 4:
        ConsumeBits(c, 1);
        return kMbIntra;
    default:
        break;
    }
    c->error = 1;
    return 0;
}

int ReadCodedBlockPattern(Mpeg2VideoDecoderCore* c)
{
    Refill(c);
    const VlcEntry e = c->vlc->codedBlockPattern[PeekBits(c, 9)];
    if (!e.length) {
        c->error = 1;
        return 0;
    }
    ConsumeBits(c, e.length);
    return e.value;
}

int ReadMotionCode(Mpeg2VideoDecoderCore* c)
{
    Refill(c);
    const VlcEntry e = c->vlc->motionCode[PeekBits(c, 11)];
    if (!e.length) {
        c->error = 1;
        return 0;
    }
    ConsumeBits(c, e.length);
    return e.value;
}

int ReadDualPrimeDifferential(Mpeg2VideoDecoderCore* c)
{
    if (!ReadBit(c))
        return 0;
    return ReadBit(c) ? -1 : 1;
}

// The motion code's sign and whether it is zero come at random: the vector is updated by masks
// rather than by branches on them, which would be mispredicted for about every other component.
int UpdateVectorComponent(int predictor, int rSize, int code, int residual, bool fullPel)
{
    const int limit = 16 << rSize;
    int p = fullPel ? predictor >> 1 : predictor;
    const uint32_t sign = uint32_t(code >> 31); // all ones for a negative code
    const uint32_t nonzero = uint32_t(-int32_t(code != 0));
    const uint32_t magnitude = (uint32_t(code) ^ sign) - sign;
    const uint32_t delta = (((magnitude - 1) << rSize) + uint32_t(residual) + 1) & nonzero;
    p += int32_t((delta ^ sign) - sign);
    // Out of range (rarely) the vector wraps the way it moved.
    if (p >= limit && nonzero && !sign)
        p -= 2 * limit;
    else if (p < -limit && sign)
        p += 2 * limit;
    return fullPel ? p * 2 : p;
}

// The residual behind a motion code: rSize bits, read only behind a code other than zero.
int ReadMotionResidual(Mpeg2VideoDecoderCore* c, int rSize, int code)
{
    if (!rSize)
        return 0;
    Refill(c);
    const uint32_t bits = PeekBits(c, unsigned(rSize));
    const uint32_t nonzero = uint32_t(-int32_t(code != 0));
    ConsumeBits(c, unsigned(rSize) & nonzero);
    return int(bits & nonzero);
}

void ReadOneMotionVector(Mpeg2VideoDecoderCore* c, int pmv[2], int dmv[2], int rh, int rv, bool fullPel)
{
    int code = ReadMotionCode(c);
    int residual = ReadMotionResidual(c, rh, code);
    pmv[0] = UpdateVectorComponent(pmv[0], rh, code, residual, fullPel);
    if (c->dualPrime)
        dmv[0] = ReadDualPrimeDifferential(c);
    code = ReadMotionCode(c);
    residual = ReadMotionResidual(c, rv, code);
    if (c->verticalScale)
        pmv[1] = UpdateVectorComponent(pmv[1] >> 1, rv, code, residual, fullPel) * 2;
    else
        pmv[1] = UpdateVectorComponent(pmv[1], rv, code, residual, fullPel);
    if (c->dualPrime)
        dmv[1] = ReadDualPrimeDifferential(c);
}

void ReadMotionVectorSet(Mpeg2VideoDecoderCore* c, MotionVectors& mv, int s, int rh, int rv)
{
    if (c->motionVectorCount == 1) {
        if (!c->mvFormatFrame && !c->dualPrime)
            mv.fieldSelect[0][s] = mv.fieldSelect[1][s] = int(ReadBit(c));
        ReadOneMotionVector(c, mv.pmv[0][s], mv.dmv, rh, rv, false);
        mv.pmv[1][s][0] = mv.pmv[0][s][0];
        mv.pmv[1][s][1] = mv.pmv[0][s][1];
    } else {
        mv.fieldSelect[0][s] = int(ReadBit(c));
        ReadOneMotionVector(c, mv.pmv[0][s], mv.dmv, rh, rv, false);
        mv.fieldSelect[1][s] = int(ReadBit(c));
        ReadOneMotionVector(c, mv.pmv[1][s], mv.dmv, rh, rv, false);
    }
}

void ReadPredictionModes(Mpeg2VideoDecoderCore* c)
{
    const uint8_t type = ReadMacroblockType(c);
    if (c->error)
        return;
    c->macroblock_type = type;
    const bool frame = c->picture_structure == 3;
    if (type & (kMbForward | kMbBackward)) {
        if (frame && c->frame_pred_frame_dct)
            c->motion_type = kMotionFrame;
        else
            c->motion_type = uint8_t(ReadBits(c, 2));
        if (c->motion_type == 0) {
            c->error = 1; // reserved
            return;
        }
    } else if ((type & kMbIntra) && c->concealment_motion_vectors) {
        c->motion_type = frame ? kMotionFrame : kMotionField;
    }
    if (frame) {
        c->mvFormatFrame = c->motion_type == kMotionFrame;
        c->motionVectorCount = c->motion_type == kMotionField ? 2 : 1;
    } else {
        c->mvFormatFrame = 0;
        c->motionVectorCount = c->motion_type == kMotion16x8 ? 2 : 1;
    }
    c->dualPrime = c->motion_type == kMotionDualPrime;
    c->verticalScale = frame && !c->mvFormatFrame;
    c->dct_type = 0;
    if (frame && !c->frame_pred_frame_dct && (type & (kMbIntra | kMbPattern)))
        c->dct_type = uint8_t(ReadBit(c));
}

void SetQuantiserScale(Mpeg2VideoDecoderCore* c, uint32_t code)
{
    if (!c->mpeg2)
        c->quantiser_scale = code;
    else if (c->q_scale_type)
        c->quantiser_scale = kNonLinearQuantiserScale[code];
    else
        c->quantiser_scale = code * 2;
}

bool ReadVectors(Mpeg2VideoDecoderCore* c, MotionVectors& mv, int s)
{
    if (!c->mpeg2) {
        const unsigned fcode = s == 0 ? c->forward_f_code : c->backward_f_code;
        const bool fullPel = (s == 0 ? c->full_pel_forward_vector : c->full_pel_backward_vector) != 0;
        if (fcode < 1) {
            c->error = 1;
            return false;
        }
        const int r = int(fcode) - 1;
        ReadOneMotionVector(c, mv.pmv[0][s], mv.dmv, r, r, fullPel);
        mv.pmv[1][s][0] = mv.pmv[0][s][0];
        mv.pmv[1][s][1] = mv.pmv[0][s][1];
        return !c->error;
    }
    const unsigned fh = c->f_code[s][0], fv = c->f_code[s][1];
    if (fh < 1 || fh > 9 || fv < 1 || fv > 9) {
        c->error = 1;
        return false;
    }
    ReadMotionVectorSet(c, mv, s, int(fh) - 1, int(fv) - 1);
    return !c->error;
}

void PlaceBlock(Mpeg2VideoDecoderCore* c, int block, int x, int y, bool add, bool dcOnly)
{
    // The layout is the one the picture buffers were made for, whatever the headers say now.
    PictureBuffer* cur = c->current;
    const ptrdiff_t pitch = cur->pitch;
    const bool frame = c->picture_structure == 3;
    const uint8_t chroma = c->savedChromaFormat;
    uint8_t* plane;
    int bx, line;
    const int lower = (block & 2) >> 1;
    bool interleaved; // field DCT in a frame picture: the block's lines alternate with the other's
    if (block < 4) {
        plane = cur->luma;
        bx = x + 8 * (block & 1);
        line = y;
        interleaved = frame && c->dct_type;
    } else {
        plane = (block & 1) ? cur->cr : cur->cb;
        bx = (chroma != 3 ? x >> 1 : x) + ((block & 8) ? 8 : 0);
        line = chroma == 1 ? y >> 1 : y;
        interleaved = frame && chroma != 1 && c->dct_type;
    }
    ptrdiff_t stride;
    if (interleaved) {
        plane += ptrdiff_t(line + lower) * pitch + bx;
        stride = 2 * pitch;
    } else if (frame) {
        plane += ptrdiff_t(line + 8 * lower) * pitch + bx;
        stride = pitch;
    } else {
        // A field picture: the bottom field lies on the odd lines.
        plane += ptrdiff_t(line + 8 * lower) * 2 * pitch + bx + (c->picture_structure == 2 ? pitch : 0);
        stride = 2 * pitch;
    }
    if (plane < cur->storage || cur->end - plane <= 7 * stride + 7) {
        c->error = 1;
        return;
    }
    (dcOnly ? c->inverseTransformDc : c->inverseTransform)(c->blocks + 64 * block);
    (add ? c->addBlock : c->putBlock)(c->pixelClamp, c->blocks + 64 * block, plane, stride);
}

// Eight aligned stores: the compiler makes the memset a string instruction, whose start-up
// costs more than the whole clearing.
inline void ClearBlock(int16_t* block)
{
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    __m128i* const b = reinterpret_cast<__m128i*>(block);
    for (int i = 0; i < 8; ++i)
        _mm_store_si128(b + i, zero);
#else
    std::memset(block, 0, 64 * sizeof(int16_t));
#endif
}

inline bool Reconstructing(const Mpeg2VideoDecoderCore* c) { return c->picture_coding_type <= c->skipLevel; }

void ResetForwardPredictors(MotionVectors& mv)
{
    mv.pmv[0][0][0] = mv.pmv[0][0][1] = 0;
    mv.pmv[1][0][0] = mv.pmv[1][0][1] = 0;
}

void ReconstructSkippedMacroblock(Mpeg2VideoDecoderCore* c, SliceState& st)
{
    st.dc[0] = st.dc[1] = st.dc[2] = 0;
    if (c->picture_coding_type == 2)
        ResetForwardPredictors(st.mv);
    if (c->picture_structure == 3) {
        c->motion_type = kMotionFrame;
    } else {
        c->motion_type = kMotionField;
        const int parity = c->picture_structure == 2 ? 1 : 0;
        st.mv.fieldSelect[0][0] = st.mv.fieldSelect[0][1] = parity;
    }
    c->macroblock_type &= uint8_t(~kMbIntra);
    if (Reconstructing(c)) {
        const int x = (st.address % int(c->mbWidth)) * 16;
        const int y = (st.address / int(c->mbWidth)) * 16;
        PredictMacroblock(c, x, y, c->macroblock_type, c->motion_type, st.mv);
    }
}

void DecodeCodedMacroblock(Mpeg2VideoDecoderCore* c, SliceState& st)
{
    ReadPredictionModes(c);
    if (c->error)
        return;
    const uint8_t type = c->macroblock_type;
    const bool intra = (type & kMbIntra) != 0;
    if (type & kMbQuant)
        SetQuantiserScale(c, ReadBits(c, 5));
    if (((type & kMbForward) || (intra && c->concealment_motion_vectors)) && !ReadVectors(c, st.mv, 0))
        return;
    if ((type & kMbBackward) && !ReadVectors(c, st.mv, 1))
        return;
    if (intra && c->concealment_motion_vectors)
        ReadBit(c); // marker_bit
    const int blocks = int(c->blocksPerMacroblock);
    int pattern;
    if (type & kMbPattern) {
        pattern = ReadCodedBlockPattern(c);
        if (c->savedChromaFormat == 2)
            pattern = pattern * 4 + int(ReadBits(c, 2));
        else if (c->savedChromaFormat == 3)
            pattern = pattern * 64 + int(ReadBits(c, 6));
    } else {
        pattern = intra ? (1 << blocks) - 1 : 0;
    }
    if (c->error || PastEnd(c)) {
        c->error = 1;
        return;
    }
    if (intra && !c->concealment_motion_vectors)
        std::memset(&st.mv.pmv, 0, sizeof st.mv.pmv);
    if (c->picture_coding_type == 2 && !(type & (kMbForward | kMbIntra))) {
        ResetForwardPredictors(st.mv);
        if (c->picture_structure == 3) {
            c->motion_type = kMotionFrame;
        } else {
            c->motion_type = kMotionField;
            st.mv.fieldSelect[0][0] = c->picture_structure == 2 ? 1 : 0;
        }
    }
    const bool reconstruct = Reconstructing(c);
    const int x = (st.address % int(c->mbWidth)) * 16;
    const int y = (st.address / int(c->mbWidth)) * 16;
    if (!intra && reconstruct) {
        PredictMacroblock(c, x, y, type, c->motion_type, st.mv);
        if (c->error)
            return;
    }
    for (int i = 0; i < blocks; ++i) {
        if (!(pattern & (1 << (blocks - 1 - i))))
            continue;
        ClearBlock(c->blocks + 64 * i);
        bool dcOnly;
        if (c->mpeg2)
            dcOnly = intra ? DecodeMpeg2IntraBlock(c, i, st.dc) : DecodeMpeg2NonIntraBlock(c, i);
        else
            dcOnly = intra ? DecodeMpeg1IntraBlock(c, i, st.dc) : DecodeMpeg1NonIntraBlock(c, i);
        if (c->error || PastEnd(c)) {
            c->error = 1;
            return;
        }
        if (reconstruct)
            PlaceBlock(c, i, x, y, !intra, dcOnly);
    }
    if (c->picture_coding_type == 4)
        ReadBit(c); // end_of_macroblock
    if (!intra)
        st.dc[0] = st.dc[1] = st.dc[2] = 0;
}

// -1: no slice start code follows; 0: error; 1: slice started.
int StartSlice(Mpeg2VideoDecoderCore* c, SliceState& st, int macroblockRows)
{
    c->error = 0;
    if (!NextStartCode(c))
        return -1;
    const size_t at = AlignedBytePosition(c);
    if (c->endPos - at < 4 || !IsSliceCode(c->input[at + 3]))
        return -1;
    const uint8_t code = c->input[at + 3];
    SeekReader(c, at + 4);
    const uint32_t extension = ParseSliceHeader(c);
    const int increment = ReadAddressIncrement(c);
    if (c->error) {
        base::TraceRefused("MPEG-2 slice", "bad macroblock_address_increment");
        return 0;
    }
    const int row = int(extension * 128 + code) - 1;
    if (row >= macroblockRows) {
        c->error = 1;
        base::TraceRefused("MPEG-2 slice", "slice_vertical_position past the picture");
        return 0;
    }
    st.address = row * int(c->mbWidth) + increment - 1;
    st.increment = 1;
    st.dc[0] = st.dc[1] = st.dc[2] = 0;
    std::memset(&st.mv.pmv, 0, sizeof st.mv.pmv);
    return 1;
}

// 1: the slice ended at a start code; 0: it ended by an error or at the picture's last macroblock;
// -1: no slice start code follows.
int DecodeSlice(Mpeg2VideoDecoderCore* c, int macroblockCount, int macroblockRows)
{
    SliceState st;
    const int started = StartSlice(c, st, macroblockRows);
    if (started <= 0)
        return started;
    while (st.address < macroblockCount) {
        if (st.increment == 0) {
            FillWindow(c);
            if (c->window < 512 || c->error) {
                c->error = 0;
                base::TraceRefused("MPEG-2 slice", "ends inside a macroblock");
                return 0;
            }
            st.increment = ReadAddressIncrement(c);
            if (c->error) {
                base::TraceRefused("MPEG-2 slice", "bad macroblock_address_increment");
                return 0;
            }
            if (st.address + st.increment - 1 >= macroblockCount) {
                base::TraceRefused("MPEG-2 slice", "macroblock address past the picture");
                return 0;
            }
        }
        if (st.increment > 1)
            ReconstructSkippedMacroblock(c, st);
        else
            DecodeCodedMacroblock(c, st);
        if (c->error) {
            base::TraceRefused("MPEG-2 slice", "damaged macroblock");
            return 0;
        }
        --st.increment;
        ++st.address;
        FillWindow(c);
        if (c->window < 512 && st.increment == 0) {
            NextStartCode(c);
            return 1;
        }
    }
    return 0;
}

// Why a picture cannot be decoded with what the decoder holds, or nullptr when it can.
const char* PictureRefusal(const Mpeg2VideoDecoderCore* c)
{
    const uint8_t type = c->picture_coding_type;
    if (!c->sequenceReady || !c->forwardReference)
        return "no sequence header before it";
    if (type < 1 || type > 4 || (type == 4 && c->mpeg2))
        return "bad picture_coding_type";
    if (c->picture_structure == 0)
        return "reserved picture_structure";
    return nullptr;
}

bool CompatibleSecondField(uint8_t first, uint8_t second)
{
    if (first == 1)
        return second == 1 || second == 2;
    return first == second;
}

} // namespace

int DecodeSlices(Mpeg2VideoDecoderCore* c)
{
    const uint8_t type = c->picture_coding_type;
    const uint8_t structure = c->picture_structure;
    if (const char* refused = PictureRefusal(c)) {
        base::TraceRefused("MPEG-2 picture", refused);
        SkipSlices(c);
        c->firstFieldPending = 0;
        return 0;
    }
    // Buffers made for another geometry cannot take this picture: remake them first (the caller
    // normally does so after the sequence header already).
    if (!PictureBuffersFitSequence(c) && (!AllocatePictureBuffers(c) || !c->sequenceReady)) {
        base::TraceRefused("MPEG-2 picture", "no buffers for the sequence's size");
        SkipSlices(c);
        c->firstFieldPending = 0;
        return 0;
    }
    const bool fieldPicture = structure != 3;
    c->secondField = (fieldPicture && c->firstFieldPending && structure != c->firstFieldStructure &&
                      CompatibleSecondField(c->firstFieldCodingType, type))
                         ? 1
                         : 0;
    RotatePictureBuffers(c);
    const int rows = int(fieldPicture ? c->mbHeight / 2 : c->mbHeight);
    const int count = rows * int(c->mbWidth);
    int r;
    do
        r = DecodeSlice(c, count, rows);
    while (r >= 0);
    c->error = 0;
    if (!fieldPicture || c->secondField) {
        QueueOutputPicture(c);
        c->firstFieldPending = 0;
    } else {
        c->firstFieldPending = 1;
        c->firstFieldStructure = structure;
        c->firstFieldCodingType = type;
    }
    c->secondField = 0;
    return 0;
}

} // namespace mpeg2video
