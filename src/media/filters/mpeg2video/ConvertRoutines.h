// The per-line routines behind ConvertPicture.
#pragma once

#include <cstdint>

namespace mpeg2videofilter {

// The two luma lines and the two chroma rows an output line averages.
struct LineSources {
    const uint8_t *yA, *yB, *uA, *uB, *vA, *vB;
};

void LineYuy2Mmx(const LineSources& s, uint8_t* dst, uint32_t pairs);
void LineYuy2Sse2(const LineSources& s, uint8_t* dst, uint32_t pairs);
void LineRgb32Mmx(const LineSources& s, uint8_t* dst, uint32_t pixels);
// The 16-bit-lane formulas one pixel at a time, from pixel `from` on.
void LineRgb32MmxTail(const LineSources& s, uint8_t* dst, uint32_t from, uint32_t pixels);

} // namespace mpeg2videofilter
