// The decoder core's whole-stream loop for the benchmarks: bytes appended in 64 KiB chunks,
// every step run, and each picture leaving the core (in display order, the rest drained at the
// end) handed to a callback.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"

namespace bench {

template <class OnPicture>
void DecodeStream(mpeg2video::Mpeg2VideoDecoderCore* c, const std::vector<uint8_t>& s, OnPicture onPicture)
{
    using namespace mpeg2video;
    auto run = [&] {
        for (;;) {
            const int r = DecodeStep(c);
            if (r == kStepWait || r == kStepEmpty)
                return;
            if (r == kStepSequenceHeader)
                AllocatePictureBuffers(c);
            else if (r == kStepPicture) {
                DecodeSlices(c);
                if (PictureBuffer* p = PopOutputPictureWhenFull(c))
                    onPicture(p);
            }
        }
    };
    const size_t chunk = 65536;
    for (size_t pos = 0; pos < s.size(); pos += chunk) {
        const size_t n = std::min(chunk, s.size() - pos);
        if (AppendInput(c, s.data() + pos, n) != 0) {
            run();
            AppendInput(c, s.data() + pos, n);
        }
        run();
    }
    SetDrain(c);
    run();
    while (PictureBuffer* p = PopOutputPicture(c))
        onPicture(p);
}

} // namespace bench
