// Test helper: decodes a whole elementary stream with the core, in chunks, and keeps every output
// picture as planar frames (luma, then Cb, then Cr, cropped to the coded size) in display order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"

namespace test {

struct DecodedFrame {
    std::vector<uint8_t> planes; // width x height luma, then chroma planes
    uint8_t codingType = 0;
};

struct DecodeOptions {
    bool portable = false;       // force the portable routines
    size_t chunk = 65536;        // bytes appended at a time
    std::vector<size_t> cuts;    // when given, the chunks end at these offsets instead
    bool callerRemakesBuffers = true; // AllocatePictureBuffers after every sequence header
    int8_t skipLevel = 10;
};

struct DecodedStream {
    std::vector<DecodedFrame> frames;
    unsigned width = 0, height = 0, chromaWidth = 0, chromaHeight = 0;
    int sequenceHeaders = 0;
    int pictures = 0;
    int buffersMade = 0;
};

// Copies a picture buffer of the core into planar form.
DecodedFrame CopyPicture(const mpeg2video::Mpeg2VideoDecoderCore* core, const mpeg2video::PictureBuffer* p);
DecodedStream DecodeWholeStream(const std::vector<uint8_t>& bytes, const DecodeOptions& options = {});
// Runs DecodeStep until it asks for data, decoding pictures and collecting output.
void RunSteps(mpeg2video::Mpeg2VideoDecoderCore* core, DecodedStream& out, bool remakeBuffers = true);
// Offsets of every picture start code of a stream.
std::vector<size_t> PictureStarts(const std::vector<uint8_t>& bytes);

} // namespace test
