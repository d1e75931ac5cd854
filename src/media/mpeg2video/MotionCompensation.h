// Motion-compensated prediction of a macroblock from the reference pictures (ISO/IEC 13818-2 7.6).
#pragma once

#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"

namespace mpeg2video {

// Vector state of a slice: PMV[r][s][t] (r first or second vector, s forward or backward,
// t horizontal or vertical) in half samples, the field selects and the dual-prime differential.
struct MotionVectors {
    int pmv[2][2][2];
    int fieldSelect[2][2];
    int dmv[2];
};

// motion_type values.
constexpr uint8_t kMotionField = 1;  // frame and field pictures
constexpr uint8_t kMotionFrame = 2;  // frame pictures
constexpr uint8_t kMotion16x8 = 2;   // field pictures
constexpr uint8_t kMotionDualPrime = 3;

void PredictBlockFromReference(Mpeg2VideoDecoderCore* core, const uint8_t* refPlane, const uint8_t* refEnd,
                               uint8_t* destPlane, ptrdiff_t neighbour, ptrdiff_t step, int width, int rows, int x,
                               int y, int dx, int dy, bool average, int widthLimit, int rowLimit);
// Predicts all three planes. rowLimit counts luma rows in units of the neighbour offset.
void PredictPlanes(Mpeg2VideoDecoderCore* core, const PictureBuffer* ref, int sourceField, PictureBuffer* cur,
                   int destField, ptrdiff_t neighbour, ptrdiff_t step, int width, int rows, int x, int y, int dx,
                   int dy, bool average, int rowLimit);
void PredictMacroblock(Mpeg2VideoDecoderCore* core, int x, int y, uint8_t macroblockType, uint8_t motionType,
                       const MotionVectors& mv);
// out[0] = V0 (and out[1] = V1 in frame pictures) from the vector (mx, my) in field units.
void DeriveDualPrimeVectors(const Mpeg2VideoDecoderCore* core, int out[2][2], const int dmv[2], int mx, int my);

} // namespace mpeg2video
