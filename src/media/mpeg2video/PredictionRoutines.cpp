// Portable prediction routines (ISO/IEC 13818-2 7.6.4): full-sample copies and half-sample
// interpolation, each in a put form and in a form that averages with the destination.
#include "media/mpeg2video/Routines.h"

namespace mpeg2video {

namespace {

enum Kind { kFull, kVertical, kHorizontal, kBoth };

template <Kind kind>
inline int Sample(const uint8_t* s, ptrdiff_t neighbour)
{
    switch (kind) {
    case kFull: return s[0];
    case kVertical: return (s[0] + s[neighbour] + 1) >> 1;
    case kHorizontal: return (s[0] + s[1] + 1) >> 1;
    default: return (s[0] + s[1] + s[neighbour] + s[neighbour + 1] + 2) >> 2;
    }
}

template <Kind kind, bool average>
void Predict(uint8_t* d, const uint8_t* s, int width, int rows, ptrdiff_t neighbour, ptrdiff_t step)
{
    for (int y = 0; y < rows; ++y, d += step, s += step) {
        for (int x = 0; x < width; ++x) {
            const int p = Sample<kind>(s + x, neighbour);
            d[x] = uint8_t(average ? (p + d[x] + 1) >> 1 : p);
        }
    }
}

} // namespace

const PredictionRoutine kPortablePrediction[kPredictionSlots] = {
    Predict<kFull, false>,    Predict<kVertical, false>, Predict<kHorizontal, false>, Predict<kBoth, false>,
    Predict<kFull, true>,     Predict<kVertical, true>,  Predict<kHorizontal, true>,  Predict<kBoth, true>,
};

} // namespace mpeg2video
