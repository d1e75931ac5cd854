#include "media/mpeg2video/MotionCompensation.h"

#include "media/mpeg2video/VlcTables.h"

namespace mpeg2video {

namespace {

inline int HalfTowardZero(int v) { return v / 2; }

// Inlined into the plane loop: a call with fifteen arguments costs about as much as a small copy.
[[gnu::always_inline]] inline void PredictBlock(Mpeg2VideoDecoderCore* c, const uint8_t* refPlane,
                                                const uint8_t* refEnd, uint8_t* destPlane, ptrdiff_t neighbour,
                                                ptrdiff_t step, int width, int rows, int x, int y, int dx, int dy,
                                                bool average, int widthLimit, int rowLimit)
{
    int col = x + (dx >> 1);
    int row = y + (dy >> 1);
    const int hf = dx & 1;
    const int vf = dy & 1;
    if (col > widthLimit - width)
        col = widthLimit - width;
    if (row > rowLimit - rows)
        row = rowLimit - rows;
    const ptrdiff_t srcOffset = ptrdiff_t(row) * neighbour + col;
    if (srcOffset < 0)
        return; // above the picture: nothing is predicted
    const uint8_t* src = refPlane + srcOffset;
    // The last byte the routine reads must lie inside the reference's storage.
    const ptrdiff_t span = ptrdiff_t(rows - 1) * step + (vf ? neighbour : 0) + width - 1 + hf;
    if (src + span >= refEnd)
        return;
    uint8_t* dst = destPlane + ptrdiff_t(y) * neighbour + x;
    // Likewise every byte it writes must lie inside the current picture's storage.
    const PictureBuffer* cur = c->current;
    if (!cur || dst < cur->storage || cur->end - dst <= ptrdiff_t(rows - 1) * step + width - 1)
        return;
    c->predict[(average ? 4 : 0) + 2 * hf + vf](dst, src, width, rows, neighbour, step);
    // The reference rows a few macroblocks to the right are fetched now, with this vector as the
    // guess, and the rows they will be written to: neighbouring macroblocks mostly move alike, and
    // the pictures are far larger than the cache, so without this nearly every row of a
    // prediction waits for memory. One cache line holds the rows of several blocks, so a quarter
    // (luma) or an eighth (chroma) of the rows per block, taken in turn, covers them all. A
    // prefetch never faults, wherever it points. Wide pictures (high definition) have their rows
    // fetched two cache lines ahead, not one: their references lie far from every cache, and one
    // line ahead arrives too late; at standard definition one line ahead is the faster.
    const int share = width >= 16 ? 4 : 8;
    const int per = (rows + share - 1) / share;
    const int first = ((x >> (width >= 16 ? 4 : 3)) & (share - 1)) * per;
    const uintptr_t ahead = c->lumaWidth > 1024 ? 128 : 64;
    for (int i = first; i < first + per && i < rows; ++i) {
        __builtin_prefetch(reinterpret_cast<const void*>(uintptr_t(src) + ahead + uintptr_t(ptrdiff_t(i) * step)));
        __builtin_prefetch(reinterpret_cast<const void*>(uintptr_t(dst) + ahead + uintptr_t(ptrdiff_t(i) * step)), 1);
    }
}

} // namespace

void PredictBlockFromReference(Mpeg2VideoDecoderCore* c, const uint8_t* refPlane, const uint8_t* refEnd,
                               uint8_t* destPlane, ptrdiff_t neighbour, ptrdiff_t step, int width, int rows, int x,
                               int y, int dx, int dy, bool average, int widthLimit, int rowLimit)
{
    PredictBlock(c, refPlane, refEnd, destPlane, neighbour, step, width, rows, x, y, dx, dy, average, widthLimit,
                 rowLimit);
}

void PredictPlanes(Mpeg2VideoDecoderCore* c, const PictureBuffer* ref, int sourceField, PictureBuffer* cur,
                   int destField, ptrdiff_t neighbour, ptrdiff_t step, int width, int rows, int x, int y, int dx,
                   int dy, bool average, int rowLimit)
{
    const ptrdiff_t pitch = cur->pitch;
    const ptrdiff_t srcShift = sourceField ? pitch : 0;
    const ptrdiff_t dstShift = destField ? pitch : 0;
    int widthLimit = int(c->lumaWidth);
    PredictBlock(c, ref->luma + srcShift, ref->end, cur->luma + dstShift, neighbour, step, width, rows, x,
                              y, dx, dy, average, widthLimit, rowLimit);
    if (c->savedChromaFormat != 3) {
        x >>= 1;
        width >>= 1;
        dx = HalfTowardZero(dx);
        widthLimit >>= 1;
        if (c->savedChromaFormat == 1) {
            y >>= 1;
            rows >>= 1;
            dy = HalfTowardZero(dy);
            rowLimit >>= 1;
        }
    }
    PredictBlock(c, ref->cb + srcShift, ref->end, cur->cb + dstShift, neighbour, step, width, rows, x, y,
                              dx, dy, average, widthLimit, rowLimit);
    PredictBlock(c, ref->cr + srcShift, ref->end, cur->cr + dstShift, neighbour, step, width, rows, x, y,
                              dx, dy, average, widthLimit, rowLimit);
}

void DeriveDualPrimeVectors(const Mpeg2VideoDecoderCore* c, int out[2][2], const int dmv[2], int mx, int my)
{
    // ISO/IEC 13818-2 7.6.3.6
    auto r = [](int m) { return (m + (m > 0 ? 1 : 0)) >> 1; };
    if (c->picture_structure != 3) {
        out[0][0] = r(mx) + dmv[0];
        out[0][1] = r(my) + dmv[1] + (c->picture_structure == 1 ? -1 : 1);
        out[1][0] = out[0][0];
        out[1][1] = out[0][1];
    } else if (c->top_field_first) {
        out[0][0] = r(mx) + dmv[0];
        out[0][1] = r(my) + dmv[1] - 1;
        out[1][0] = r(3 * mx) + dmv[0];
        out[1][1] = r(3 * my) + dmv[1] + 1;
    } else {
        out[0][0] = r(3 * mx) + dmv[0];
        out[0][1] = r(3 * my) + dmv[1] - 1;
        out[1][0] = r(mx) + dmv[0];
        out[1][1] = r(my) + dmv[1] + 1;
    }
}

void PredictMacroblock(Mpeg2VideoDecoderCore* c, int x, int y, uint8_t type, uint8_t motionType, const MotionVectors& mv)
{
    PictureBuffer* cur = c->current;
    const ptrdiff_t pitch = cur->pitch;
    const int height = int(c->lumaHeight);
    const bool forward = (type & kMbForward) || c->picture_coding_type == 2;
    const bool backward = (type & kMbBackward) != 0;

    if (c->picture_structure == 3) {
        for (int s = 0; s < 2; ++s) {
            if (s == 0 ? !forward : !backward)
                continue;
            const PictureBuffer* ref = s == 0 ? c->forwardReference : c->backwardReference;
            const bool average = s == 1 && forward;
            uint8_t mt = motionType;
            if (s == 1 && mt != kMotionFrame)
                mt = kMotionField;
            if (mt == kMotionFrame) {
                PredictPlanes(c, ref, 0, cur, 0, pitch, pitch, 16, 16, x, y, mv.pmv[0][s][0], mv.pmv[0][s][1], average,
                              height);
            } else if (mt == kMotionField) {
                for (int r = 0; r < 2; ++r)
                    PredictPlanes(c, ref, mv.fieldSelect[r][s], cur, r, 2 * pitch, 2 * pitch, 16, 8, x, y / 2,
                                  mv.pmv[r][s][0], mv.pmv[r][s][1] >> 1, average, height / 2);
            } else if (mt == kMotionDualPrime && s == 0) {
                const int mx = mv.pmv[0][0][0], my = mv.pmv[0][0][1] >> 1;
                int dp[2][2];
                DeriveDualPrimeVectors(c, dp, mv.dmv, mx, my);
                // Even lines: same parity with the vector, opposite parity with V0; odd lines the
                // other way round with V1.
                PredictPlanes(c, ref, 0, cur, 0, 2 * pitch, 2 * pitch, 16, 8, x, y / 2, mx, my, false, height / 2);
                PredictPlanes(c, ref, 1, cur, 0, 2 * pitch, 2 * pitch, 16, 8, x, y / 2, dp[0][0], dp[0][1], true,
                              height / 2);
                PredictPlanes(c, ref, 1, cur, 1, 2 * pitch, 2 * pitch, 16, 8, x, y / 2, mx, my, false, height / 2);
                PredictPlanes(c, ref, 0, cur, 1, 2 * pitch, 2 * pitch, 16, 8, x, y / 2, dp[1][0], dp[1][1], true,
                              height / 2);
            } else {
                c->error = 1;
            }
        }
        return;
    }

    // Field picture: the destination is the current field; the first field of this frame serves
    // as reference of the second field of a P frame.
    const int parity = c->picture_structure == 2 ? 1 : 0;
    const bool secondP = c->picture_coding_type == 2 && c->secondField;
    auto forwardRef = [&](int fieldSelect) -> const PictureBuffer* {
        return secondP && fieldSelect != parity ? c->backwardReference : c->forwardReference;
    };
    for (int s = 0; s < 2; ++s) {
        if (s == 0 ? !forward : !backward)
            continue;
        const bool average = s == 1 && forward;
        auto ref = [&](int fieldSelect) { return s == 0 ? forwardRef(fieldSelect) : c->backwardReference; };
        if (motionType == kMotionField) {
            const int fs = mv.fieldSelect[0][s];
            PredictPlanes(c, ref(fs), fs, cur, parity, 2 * pitch, 2 * pitch, 16, 16, x, y, mv.pmv[0][s][0],
                          mv.pmv[0][s][1], average, height / 2);
        } else if (motionType == kMotion16x8) {
            for (int r = 0; r < 2; ++r) {
                const int fs = mv.fieldSelect[r][s];
                PredictPlanes(c, ref(fs), fs, cur, parity, 2 * pitch, 2 * pitch, 16, 8, x, y + 8 * r, mv.pmv[r][s][0],
                              mv.pmv[r][s][1], average, height / 2);
            }
        } else if (motionType == kMotionDualPrime && s == 0) {
            const int mx = mv.pmv[0][0][0], my = mv.pmv[0][0][1];
            int dp[2][2];
            DeriveDualPrimeVectors(c, dp, mv.dmv, mx, my);
            PredictPlanes(c, c->forwardReference, parity, cur, parity, 2 * pitch, 2 * pitch, 16, 16, x, y, mx, my,
                          false, height / 2);
            const PictureBuffer* opposite = c->secondField ? c->backwardReference : c->forwardReference;
            PredictPlanes(c, opposite, 1 - parity, cur, parity, 2 * pitch, 2 * pitch, 16, 16, x, y, dp[0][0],
                          dp[0][1], true, height / 2);
        } else {
            c->error = 1;
        }
    }
}

} // namespace mpeg2video
