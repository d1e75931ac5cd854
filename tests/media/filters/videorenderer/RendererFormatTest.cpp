// The renderer's reading of format blocks (each of the four layouts, whole blocks only, sizes and
// bit depths that fit), its row-copy plan against short samples and narrow surfaces, and the
// frame-rate estimate.
#include <cstdint>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "media/filters/videorenderer/RendererFormat.h"

namespace {

using namespace videorenderer;

struct BlockSpec {
    Rect source, target;
    int32_t width = 720, height = 576;
    uint16_t bitCount = 16;
    uint32_t aspectX = 0, aspectY = 0;
};

std::vector<uint8_t> MakeBlock(bool v2, const BlockSpec& s)
{
    std::vector<uint8_t> b(v2 ? 112 : 88, 0);
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); };
    put32(0, uint32_t(s.source.left)), put32(4, uint32_t(s.source.top));
    put32(8, uint32_t(s.source.right)), put32(12, uint32_t(s.source.bottom));
    put32(16, uint32_t(s.target.left)), put32(20, uint32_t(s.target.top));
    put32(24, uint32_t(s.target.right)), put32(28, uint32_t(s.target.bottom));
    const size_t bmi = v2 ? 72 : 48;
    if (v2)
        put32(56, s.aspectX), put32(60, s.aspectY);
    put32(bmi, 40);
    put32(bmi + 4, uint32_t(s.width));
    put32(bmi + 8, uint32_t(s.height));
    std::memcpy(&b[bmi + 14], &s.bitCount, 2);
    return b;
}

TEST(RendererFormat, ReadsEachLayoutAndRefusesWhatCannotBeShown)
{
    RendererFormat f;
    BlockSpec s;
    auto v1 = MakeBlock(false, s), v2 = MakeBlock(true, s);
    ASSERT_EQ(0, ParseRendererFormat(FormatKind::kVideoInfo, PixelKind::kYUY2, v1.data(), v1.size(), &f));
    EXPECT_EQ(720u, f.pictureWidth);
    EXPECT_EQ(576u, f.pictureHeight);
    EXPECT_EQ(0.0, f.aspect);
    ASSERT_EQ(0, ParseRendererFormat(FormatKind::kMpeg2Video, PixelKind::kYUY2, v2.data(), v2.size(), &f));
    // The other format types are refused instead of keeping a stale header.
    EXPECT_EQ(-1, ParseRendererFormat(FormatKind::kOther, PixelKind::kYUY2, v2.data(), v2.size(), &f));
    // Blocks cut short.
    EXPECT_EQ(-1, ParseRendererFormat(FormatKind::kVideoInfo, PixelKind::kYUY2, v1.data(), 87, &f));
    EXPECT_EQ(-1, ParseRendererFormat(FormatKind::kVideoInfo2, PixelKind::kYUY2, v2.data(), 111, &f));
    EXPECT_EQ(-1, ParseRendererFormat(FormatKind::kVideoInfo2, PixelKind::kYUY2, nullptr, 112, &f));
    // Sizes and bit depths.
    for (auto bad : {BlockSpec{{}, {}, 0, 576, 16}, BlockSpec{{}, {}, -720, 576, 16}, BlockSpec{{}, {}, 720, 0, 16},
                     BlockSpec{{}, {}, 720, 576, 32}}) {
        auto b = MakeBlock(true, bad);
        EXPECT_EQ(-1, ParseRendererFormat(FormatKind::kVideoInfo2, PixelKind::kYUY2, b.data(), b.size(), &f));
    }
    s.bitCount = 32;
    auto rgb = MakeBlock(true, s);
    EXPECT_EQ(0, ParseRendererFormat(FormatKind::kVideoInfo2, PixelKind::kRGB32, rgb.data(), rgb.size(), &f));
    EXPECT_EQ(-1, ParseRendererFormat(FormatKind::kVideoInfo2, PixelKind::kRGB565, rgb.data(), rgb.size(), &f));
}

TEST(RendererFormat, SourceRectangleAndAspect)
{
    RendererFormat f;
    BlockSpec s;
    s.width = 736;
    s.target = {0, 0, 720, 576};
    auto b = MakeBlock(false, s);
    ASSERT_EQ(0, ParseRendererFormat(FormatKind::kVideoInfo, PixelKind::kYUY2, b.data(), b.size(), &f));
    EXPECT_EQ(720u, f.pictureWidth);
    EXPECT_DOUBLE_EQ(720.0 / 576.0, f.aspect);
    s.source = {0, 0, 704, 576};
    b = MakeBlock(false, s);
    ASSERT_EQ(0, ParseRendererFormat(FormatKind::kVideoInfo, PixelKind::kYUY2, b.data(), b.size(), &f));
    EXPECT_EQ(704u, f.pictureWidth);
    // The MPEG layout ignores the rectangles.
    ASSERT_EQ(0, ParseRendererFormat(FormatKind::kMpegVideo, PixelKind::kYUY2, b.data(), b.size(), &f));
    EXPECT_EQ(736u, f.pictureWidth);
    EXPECT_EQ(0.0, f.aspect);
    // A rectangle beyond the bitmap is kept inside it.
    s.source = {0, 0, 4000, 9000};
    b = MakeBlock(false, s);
    ASSERT_EQ(0, ParseRendererFormat(FormatKind::kVideoInfo, PixelKind::kYUY2, b.data(), b.size(), &f));
    EXPECT_EQ(736u, f.pictureWidth);
    EXPECT_EQ(576u, f.pictureHeight);
    // The picture aspect of VIDEOINFOHEADER2 wins over the rectangles.
    s.source = {0, 0, 720, 576};
    s.aspectX = 16, s.aspectY = 9;
    b = MakeBlock(true, s);
    ASSERT_EQ(0, ParseRendererFormat(FormatKind::kVideoInfo2, PixelKind::kYUY2, b.data(), b.size(), &f));
    EXPECT_DOUBLE_EQ(16.0 / 9.0, f.aspect);
    // A top-down bitmap.
    s.height = -576;
    b = MakeBlock(true, s);
    ASSERT_EQ(0, ParseRendererFormat(FormatKind::kVideoInfo2, PixelKind::kYUY2, b.data(), b.size(), &f));
    EXPECT_EQ(576u, f.pictureHeight);
    // A negative rectangle bottom counts by its magnitude; the most negative has none.
    for (const int32_t bottom : {-288, INT32_MIN}) {
        s.source = {0, 0, 720, bottom};
        b = MakeBlock(true, s);
        ASSERT_EQ(0, ParseRendererFormat(FormatKind::kVideoInfo2, PixelKind::kYUY2, b.data(), b.size(), &f));
        EXPECT_EQ(bottom == INT32_MIN ? 576u : 288u, f.pictureHeight);
    }
}

TEST(RendererFormat, CopyPlanNeedsEveryRowAndStaysInThePitch)
{
    RendererFormat f;
    BlockSpec s;
    s.bitCount = 32;
    s.source = {0, 0, 700, 500};
    auto b = MakeBlock(true, s);
    ASSERT_EQ(0, ParseRendererFormat(FormatKind::kVideoInfo2, PixelKind::kRGB32, b.data(), b.size(), &f));
    CopyPlan p;
    const size_t full = 720 * 4 * 576;
    ASSERT_EQ(0, PlanRowCopy(f, PixelKind::kRGB32, full, 2816, &p));
    EXPECT_TRUE(p.bottomUp);
    EXPECT_EQ(500u, p.rows);
    EXPECT_EQ(2880u, p.rowLength);
    EXPECT_EQ(2816u, p.copyLength); // never past the surface's pitch
    EXPECT_EQ(575u * 2880, p.firstRow);
    // Bottom-up reads from the bitmap's last row: a sample one byte short is refused.
    EXPECT_EQ(-1, PlanRowCopy(f, PixelKind::kRGB32, full - 1, 4096, &p));
    // A surface without pitch holds nothing (found by fuzzing: a zero-length copy to no memory).
    EXPECT_EQ(-1, PlanRowCopy(f, PixelKind::kRGB32, full, 0, &p));
    // Top-down RGB (negative height) starts at the first row and needs only the picture's rows.
    s.height = -576;
    b = MakeBlock(true, s);
    ASSERT_EQ(0, ParseRendererFormat(FormatKind::kVideoInfo2, PixelKind::kRGB32, b.data(), b.size(), &f));
    ASSERT_EQ(0, PlanRowCopy(f, PixelKind::kRGB32, 720 * 4 * 500, 4096, &p));
    EXPECT_FALSE(p.bottomUp);
    EXPECT_EQ(0u, p.firstRow);
    EXPECT_EQ(-1, PlanRowCopy(f, PixelKind::kRGB32, 720 * 4 * 500 - 1, 4096, &p));
    // YUY2 is top-down whatever the sign.
    s.bitCount = 16;
    s.height = 576;
    b = MakeBlock(true, s);
    ASSERT_EQ(0, ParseRendererFormat(FormatKind::kVideoInfo2, PixelKind::kYUY2, b.data(), b.size(), &f));
    ASSERT_EQ(0, PlanRowCopy(f, PixelKind::kYUY2, 720 * 2 * 500, 4096, &p));
    EXPECT_FALSE(p.bottomUp);
}

TEST(FrameRateEstimate, AveragesThenLocksAndSkipsEqualTimes)
{
    CFrameRateEstimate e;
    e.Update(0);
    EXPECT_EQ(0.0, e.Value());
    e.Update(400000);
    EXPECT_DOUBLE_EQ(25.0, e.Value());
    EXPECT_FALSE(e.Locked());
    // A repeated time would divide by zero: it changes nothing.
    e.Update(400000);
    EXPECT_DOUBLE_EQ(25.0, e.Value());
    e.Update(800000);
    EXPECT_TRUE(e.Locked());
    e.Update(900000);
    EXPECT_DOUBLE_EQ(25.0, e.Value());
}

} // namespace
