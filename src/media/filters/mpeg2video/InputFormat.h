// What the decoder filter learns from an input format block (MPEG2VIDEOINFO, the layout of
// FORMAT_MPEG2Video) before it accepts a connection. Byte offsets are those of the 64-bit layout:
// a 112-byte VIDEOINFOHEADER2, then dwStartTimeCode, cbSequenceHeader, dwProfile, dwLevel,
// dwFlags and the sequence header bytes at 132.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mpeg2videofilter {

constexpr size_t kMpeg2VideoInfoHeaderBytes = 132; // up to the sequence header
constexpr size_t kCbSequenceHeaderOffset = 116;
constexpr size_t kProfileOffset = 120;

struct InputFormat {
    uint32_t width = 720;
    uint32_t height = 576;
    uint32_t aspectRatioInformation = 0;
    double frameRate = 25.0;
    double bitRate = 1000000.0;
    const uint8_t* sequenceHeader = nullptr; // inside the block given
    uint32_t sequenceHeaderBytes = 0;
};

// 0 when the block describes a stream the decoder takes: a format of at least the fixed part,
// a sequence header (when present) within the block that the core parses as Main or Simple
// profile, and dwProfile below 3. -1 otherwise. Without a sequence header the defaults above hold.
int ParseInputFormat(const uint8_t* block, size_t length, InputFormat* out);

} // namespace mpeg2videofilter
