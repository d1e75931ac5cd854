// Constant tables of ISO/IEC 13818-2: the scans, the default intra matrix, the non-linear
// quantiser scale and the frame rates.
#pragma once

#include <cstdint>

namespace mpeg2video {

// Raster position of each scan index: [0] zigzag (Figure 7-2), [1] alternate (Figure 7-3).
extern const uint8_t kScan[2][64];
// Default intra quantiser matrix in raster order (6.3.11).
extern const uint8_t kDefaultIntraMatrix[64];
// Table 7-6: quantiser_scale for q_scale_type 1.
extern const uint8_t kNonLinearQuantiserScale[32];
// Table 6-4: frame_rate_value for frame_rate_code (0 for 0, -1 for the reserved codes 9..15).
double FrameRateValue(unsigned frameRateCode);

} // namespace mpeg2video
