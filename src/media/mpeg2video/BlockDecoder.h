// Decoding and inverse quantisation of the coefficients of one 8x8 block (ISO/IEC 13818-2 7.2 to
// 7.4, ISO/IEC 11172-2 2.4.4): the block buffer (cleared by the caller) receives the dequantised,
// saturated coefficients in raster order. Errors set the core's error flag.
#pragma once

#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"

namespace mpeg2video {

// dc: the three DC predictors (Y, Cb, Cr), reconstructed around 0. Each returns true when the block
// holds no coefficient but the DC term and the mismatch bit (the first and the last).
bool DecodeMpeg2IntraBlock(Mpeg2VideoDecoderCore* core, int block, int dc[3]);
bool DecodeMpeg2NonIntraBlock(Mpeg2VideoDecoderCore* core, int block);
bool DecodeMpeg1IntraBlock(Mpeg2VideoDecoderCore* core, int block, int dc[3]);
bool DecodeMpeg1NonIntraBlock(Mpeg2VideoDecoderCore* core, int block);

// To be called whenever the quantiser matrices change.
void ForgetScanWeights(Mpeg2VideoDecoderCore* core);

} // namespace mpeg2video
