// The icon blending against a float reference: every icon byte, row byte and alpha.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "plintor/IconCompositing.h"

namespace {

TEST(IconCompositingTest, EveryByteAndAlphaMatchesTheFloatReference)
{
    // One pixel per (icon, row) pair, all four bytes of it the same, for each alpha.
    std::vector<uint8_t> icon(256 * 256 * 4), row(256 * 256 * 4);
    long mismatches = 0;
    for (int alpha = 0; alpha < 256; ++alpha) {
        for (int i = 0; i < 256; ++i) {
            for (int d = 0; d < 256; ++d) {
                size_t p = (static_cast<size_t>(i) * 256 + d) * 4;
                icon[p] = icon[p + 1] = icon[p + 2] = static_cast<uint8_t>(i);
                icon[p + 3] = static_cast<uint8_t>(alpha);
                row[p] = row[p + 1] = row[p + 2] = static_cast<uint8_t>(d);
                row[p + 3] = static_cast<uint8_t>(255 - d);
            }
        }
        plintor::CompositeIconOver(icon.data(), row.data(), 256 * 256);
        for (int i = 0; i < 256; ++i) {
            for (int d = 0; d < 256; ++d) {
                size_t p = (static_cast<size_t>(i) * 256 + d) * 4;
                double colour = std::floor((i * alpha + d * (256.0 - alpha)) / 256.0);
                int rowAlpha = 255 - d;
                double alphaByte = std::floor((alpha * alpha + rowAlpha * (256.0 - alpha)) / 256.0);
                mismatches += row[p] != colour || row[p + 1] != colour || row[p + 2] != colour;
                mismatches += row[p + 3] != alphaByte;
            }
        }
    }
    EXPECT_EQ(0, mismatches);
}

TEST(IconCompositingTest, OpaqueIconReplacesAndTransparentKeepsTheRow)
{
    uint8_t icon[8] = { 10, 20, 30, 255, 10, 20, 30, 0 };
    uint8_t row[8] = { 240, 202, 166, 0, 240, 202, 166, 0 };
    plintor::CompositeIconOver(icon, row, 2);
    // a = 255 leaves 1/256 of the row: (10 - 240) x 255 + 240 x 256 = 10 x 255 + 240 -> 10.
    EXPECT_EQ(10, row[0]);
    EXPECT_EQ(20, row[1]);
    EXPECT_EQ(30, row[2]);
    EXPECT_EQ(254, row[3]);
    EXPECT_EQ(240, row[4]);
    EXPECT_EQ(202, row[5]);
    EXPECT_EQ(166, row[6]);
}

} // namespace
