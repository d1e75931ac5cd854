#include "plintor/LogoScaling.h"

#include <algorithm>
#include <cmath>

namespace plintor {

bool LogoTargetSize(uint32_t width, uint32_t height, uint32_t targetHeight, uint32_t* targetWidth)
{
    if (width == 0 || height == 0 || targetHeight == 0)
        return false;
    const uint64_t scaled = static_cast<uint64_t>(width) * targetHeight / height;
    *targetWidth = static_cast<uint32_t>(std::max<uint64_t>(1, std::min<uint64_t>(scaled, UINT32_MAX)));
    return true;
}

namespace {

// The source position of each target column or row: its whole part and its fraction.
struct CSample {
    uint32_t index;
    double fraction;
    bool last; // no neighbour further on
};

std::vector<CSample> Samples(uint32_t source, uint32_t target)
{
    const double f = static_cast<double>(target) / source;
    std::vector<CSample> samples(target);
    for (uint32_t i = 0; i < target; ++i) {
        double position = i / f + (f < 1.0 ? f : 0.0);
        position = std::min(position, static_cast<double>(source - 1));
        const double whole = std::floor(position);
        samples[i] = {static_cast<uint32_t>(whole), position - whole, whole >= source - 1};
    }
    return samples;
}

} // namespace

bool ScaleLogo(const std::vector<uint8_t>& source, uint32_t width, uint32_t height, uint32_t targetWidth,
               uint32_t targetHeight, std::vector<uint8_t>* out)
{
    if (width == 0 || height == 0 || targetWidth == 0 || targetHeight == 0 || !out)
        return false;
    const uint64_t stride = 4ull * width;
    if (source.size() / stride < height)
        return false;
    const std::vector<CSample> columns = Samples(width, targetWidth);
    const std::vector<CSample> rows = Samples(height, targetHeight);
    std::vector<uint8_t> result(4ull * targetWidth * targetHeight);
    uint8_t* target = result.data();
    for (const CSample& row : rows) {
        const uint8_t* line = source.data() + row.index * stride;
        const uint8_t* below = row.last ? line : line + stride;
        for (const CSample& column : columns) {
            const size_t x0 = 4ull * column.index;
            const size_t x1 = column.last ? x0 : x0 + 4;
            for (int byte = 0; byte < 4; ++byte) {
                const double p00 = line[x0 + byte], p10 = line[x1 + byte];
                const double p01 = below[x0 + byte], p11 = below[x1 + byte];
                const double value = p00 + (p10 - p00) * column.fraction +
                                     ((p11 - p10 - p01 + p00) * column.fraction + (p01 - p00)) * row.fraction;
                *target++ = static_cast<uint8_t>(std::clamp(std::floor(value), 0.0, 255.0));
            }
        }
    }
    *out = std::move(result);
    return true;
}

} // namespace plintor
