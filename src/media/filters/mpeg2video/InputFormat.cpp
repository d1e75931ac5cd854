#include "media/filters/mpeg2video/InputFormat.h"

#include "base/ByteReader.h"
#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"

namespace mpeg2videofilter {

int ParseInputFormat(const uint8_t* block, size_t length, InputFormat* out)
{
    if (!block || !out || length < kMpeg2VideoInfoHeaderBytes)
        return -1;
    base::CByteReader fields(block + kCbSequenceHeaderOffset, 8);
    const uint32_t headerBytes = fields.U32LE();
    const uint32_t profile = fields.U32LE();
    if (fields.Overrun() || headerBytes > length - kMpeg2VideoInfoHeaderBytes)
        return -1;
    InputFormat format;
    if (headerBytes > 0) {
        // A throw-away core reads the header exactly as the stream's own decoder will.
        mpeg2video::Mpeg2VideoDecoderCore* core = nullptr;
        if (mpeg2video::CreateDecoder(&core) != 0)
            return -1;
        int result = -1;
        if (mpeg2video::AppendInput(core, block + kMpeg2VideoInfoHeaderBytes, headerBytes) == 0) {
            mpeg2video::SetDrain(core);
            const int step = mpeg2video::DecodeStep(core);
            if (step == mpeg2video::kStepSequenceHeader && !core->nonMainProfile && core->horizontal_size >= 2 &&
                core->vertical_size >= 2) {
                format.width = core->horizontal_size;
                format.height = core->vertical_size;
                format.aspectRatioInformation = core->aspect_ratio_information;
                if (core->frameRate > 0.1)
                    format.frameRate = core->frameRate;
                format.bitRate = core->bitRate;
                result = 0;
            }
        }
        mpeg2video::DestroyDecoder(core);
        if (result != 0)
            return -1;
        format.sequenceHeader = block + kMpeg2VideoInfoHeaderBytes;
        format.sequenceHeaderBytes = headerBytes;
    }
    if (profile >= 3)
        return -1;
    *out = format;
    return 0;
}

} // namespace mpeg2videofilter
