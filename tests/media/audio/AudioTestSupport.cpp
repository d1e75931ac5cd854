#include "media/audio/AudioTestSupport.h"

#include <cmath>
#include <cstring>

#include "support/TestMedia.h"

namespace test {

double SnrDb(const std::vector<float>& ours, const std::vector<float>& reference, size_t stride, size_t index,
             size_t count)
{
    double signal = 0, noise = 0;
    for (size_t i = 0; i < count; ++i) {
        const double r = reference[i * stride + index];
        const double d = ours[i] - r;
        signal += r * r;
        noise += d * d;
    }
    if (noise == 0)
        return 200.0;
    return 10.0 * std::log10(signal / noise);
}

double MaxDifference(const std::vector<float>& ours, const std::vector<float>& reference, size_t stride,
                     size_t index, size_t count)
{
    double worst = 0;
    for (size_t i = 0; i < count; ++i)
        worst = std::max(worst, std::fabs(double(ours[i]) - reference[i * stride + index]));
    return worst;
}

std::vector<float> ReadFloats(const std::string& path)
{
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    std::vector<float> values(bytes.size() / 4);
    if (!values.empty())
        std::memcpy(values.data(), bytes.data(), values.size() * 4); // little-endian on both targets
    return values;
}

} // namespace test
