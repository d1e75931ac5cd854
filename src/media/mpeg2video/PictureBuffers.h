// Picture buffers of the core: making and freeing them.
#pragma once

#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"

namespace mpeg2video {

// Sizes beyond this are refused (the largest level of ISO/IEC 13818-2 is 1920 x 1152).
constexpr uint32_t kMaxPictureDimension = 4096;

PictureBuffer* AllocatePictureBuffer(const Mpeg2VideoDecoderCore* core);
void FreePictureBuffers(Mpeg2VideoDecoderCore* core);
// Whether the buffers in hand were made for the sequence the headers now describe.
bool PictureBuffersFitSequence(const Mpeg2VideoDecoderCore* core);

} // namespace mpeg2video
