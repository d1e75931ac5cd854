// Logo scaling: exact values of a small upscale (rounded down), agreement with a float bilinear
// reference on random images both ways, and logos with a zero side skipped instead of divided by.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "plintor/LogoScaling.h"

using namespace plintor;

namespace {

// Single-precision bilinear sampling written out per pixel.
std::vector<uint8_t> Reference(const std::vector<uint8_t>& in, int w, int h, int tw, int th)
{
    std::vector<uint8_t> out;
    const float fx = float(tw) / w, fy = float(th) / h;
    auto at = [&](int x, int y, int b) { return float(in[(size_t(y) * w + x) * 4 + b]); };
    for (int y = 0; y < th; ++y)
        for (int x = 0; x < tw; ++x) {
            const float sx = std::fmin(x / fx + (fx < 1 ? fx : 0), float(w - 1));
            const float sy = std::fmin(y / fy + (fy < 1 ? fy : 0), float(h - 1));
            const int ix = int(sx), iy = int(sy);
            const int jx = ix + 1 < w ? ix + 1 : ix, jy = iy + 1 < h ? iy + 1 : iy;
            const float ax = sx - ix, ay = sy - iy;
            for (int b = 0; b < 4; ++b) {
                const float top = at(ix, iy, b) * (1 - ax) + at(jx, iy, b) * ax;
                const float bottom = at(ix, jy, b) * (1 - ax) + at(jx, jy, b) * ax;
                out.push_back(uint8_t(std::floor(top * (1 - ay) + bottom * ay + 1e-3f)));
            }
        }
    return out;
}

} // namespace

TEST(LogoScaling, SmallUpscaleGivesTheFormulasValuesRoundedDown)
{
    const uint8_t px[4] = {0, 100, 200, 50}; // 2 x 2, one value in all four bytes
    std::vector<uint8_t> in;
    for (uint8_t v : px)
        in.insert(in.end(), 4, v);
    std::vector<uint8_t> out;
    ASSERT_TRUE(ScaleLogo(in, 2, 2, 4, 4, &out));
    ASSERT_EQ(64u, out.size());
    const uint8_t expected[16] = {0, 50, 100, 100, 100, 87, 75, 75, 200, 125, 50, 50, 200, 125, 50, 50};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(expected[i], out[i * 4 + 3]) << i;
}

TEST(LogoScaling, AgreesWithAFloatReferenceUpAndDown)
{
    std::mt19937 random(7);
    const int sizes[][4] = {{64, 48, 21, 16}, {13, 13, 40, 40}, {100, 20, 23, 23}, {7, 30, 7, 30}, {1, 1, 5, 3}};
    for (const auto& s : sizes) {
        std::vector<uint8_t> in(size_t(s[0]) * s[1] * 4);
        for (auto& b : in)
            b = uint8_t(random());
        std::vector<uint8_t> out;
        ASSERT_TRUE(ScaleLogo(in, s[0], s[1], s[2], s[3], &out));
        const std::vector<uint8_t> ref = Reference(in, s[0], s[1], s[2], s[3]);
        ASSERT_EQ(ref.size(), out.size());
        int off = 0;
        for (size_t i = 0; i < ref.size(); ++i)
            off += std::abs(int(ref[i]) - int(out[i])) > 1;
        EXPECT_EQ(0, off) << s[0] << "x" << s[1] << " -> " << s[2] << "x" << s[3];
        if (s[0] == s[2] && s[1] == s[3]) {
            EXPECT_EQ(in, out); // f = 1 copies
        }
    }
}

TEST(LogoScaling, LogosWithoutPixelsAreSkipped)
{
    uint32_t width = 99;
    EXPECT_FALSE(LogoTargetSize(0, 40, 20, &width));
    EXPECT_FALSE(LogoTargetSize(40, 0, 20, &width));
    EXPECT_EQ(99u, width);
    ASSERT_TRUE(LogoTargetSize(160, 90, 18, &width)); // the aspect kept
    EXPECT_EQ(32u, width);
    ASSERT_TRUE(LogoTargetSize(1, 400, 18, &width)); // never narrower than a pixel
    EXPECT_EQ(1u, width);

    std::vector<uint8_t> out = {1, 2, 3};
    EXPECT_FALSE(ScaleLogo({}, 0, 0, 16, 16, &out));
    EXPECT_FALSE(ScaleLogo(std::vector<uint8_t>(16 * 4), 4, 4, 0, 2, &out));
    EXPECT_FALSE(ScaleLogo(std::vector<uint8_t>(15 * 4), 4, 4, 8, 8, &out)); // truncated pixels
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3}), out);
}
