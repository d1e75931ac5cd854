// Test helper: a planar 4:2:0 frame (as ffmpeg writes yuv420p) laid out the way the decoder core
// keeps its pictures (one pitch for all planes, Cr beside Cb), so conversions can run on ffmpeg's
// own decode.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"

namespace test {

struct CorePicture {
    std::vector<uint8_t> storage;
    mpeg2video::PictureBuffer buffer;

    CorePicture(const uint8_t* planar, uint32_t width, uint32_t height)
    {
        const uint32_t pitch = (width + 15) & ~15u;
        const uint32_t chromaWidth = (width + 1) / 2, chromaRows = (height + 1) / 2;
        storage.assign(size_t(pitch) * height + size_t(pitch) * chromaRows, 0);
        buffer.storage = storage.data();
        buffer.luma = storage.data();
        buffer.cb = storage.data() + size_t(pitch) * height;
        buffer.cr = buffer.cb + pitch / 2;
        buffer.end = storage.data() + storage.size();
        buffer.pitch = pitch;
        buffer.lumaRows = height;
        buffer.chromaRows = chromaRows;
        const uint8_t* u = planar + size_t(width) * height;
        const uint8_t* v = u + size_t(chromaWidth) * chromaRows;
        for (uint32_t y = 0; y < height; ++y)
            std::memcpy(buffer.luma + size_t(y) * pitch, planar + size_t(y) * width, width);
        for (uint32_t y = 0; y < chromaRows; ++y) {
            std::memcpy(buffer.cb + size_t(y) * pitch, u + size_t(y) * chromaWidth, chromaWidth);
            std::memcpy(buffer.cr + size_t(y) * pitch, v + size_t(y) * chromaWidth, chromaWidth);
        }
    }
    CorePicture(const CorePicture&) = delete;
};

} // namespace test
