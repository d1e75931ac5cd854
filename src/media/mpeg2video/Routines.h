// The sample-level routines behind the core's slots, each in a portable form and (on x86-64) an
// SSE2 form with the same results. Tests call them directly to hold each SIMD routine against its
// portable twin.
#pragma once

#include <cstddef>
#include <cstdint>

#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"

namespace mpeg2video {

// Integer row/column inverse transform (the portable transform).
void InverseTransformPortable(int16_t* block);
// The AP-922 transform (Intel application note AP-922), portable form and SSE2 form.
void InverseTransformAp922Portable(int16_t* block);
// Clip table of the portable transform: index -512..511 to -256..255.
const int16_t* IdctClipTable();

void PutBlockPortable(const uint8_t* clamp, const int16_t* block, uint8_t* dest, ptrdiff_t pitch);
void AddBlockPortable(const uint8_t* clamp, const int16_t* block, uint8_t* dest, ptrdiff_t pitch);

// Portable prediction routines in slot order.
extern const PredictionRoutine kPortablePrediction[kPredictionSlots];

// True when this build carries the SSE2 routines (x86-64).
bool HaveSse2Routines();
#if defined(__x86_64__) || defined(_M_X64)
#define MPEG2VIDEO_SSE2 1
void InverseTransformAp922Sse2(int16_t* block);
// The same for a block whose only coefficients are the first and the last.
void InverseTransformAp922DcSse2(int16_t* block);
void PutBlockSse2(const uint8_t* clamp, const int16_t* block, uint8_t* dest, ptrdiff_t pitch);
void AddBlockSse2(const uint8_t* clamp, const int16_t* block, uint8_t* dest, ptrdiff_t pitch);
extern const PredictionRoutine kSse2Prediction[kPredictionSlots];
#endif

} // namespace mpeg2video
