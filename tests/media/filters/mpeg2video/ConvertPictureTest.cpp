// Output conversion on ffmpeg's bit-exact decode of test streams, against the formulas written out
// pixel by pixel here: field mixing of two pictures, rounding of each routine, RGB bottom-up rows,
// the logo's placement and blend, and refusals of sizes and buffers that cannot hold a frame.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "media/filters/mpeg2video/ConvertPicture.h"
#include "media/filters/mpeg2video/LogoOverlay.h"
#include "media/filters/mpeg2video/PlanarPicture.h"
#include "support/TestMedia.h"

namespace {

using mpeg2video::kCpuMmx;
using mpeg2video::kCpuSse2;
using mpeg2videofilter::ConvertPicture;
using mpeg2videofilter::OutputBuffer;
using mpeg2videofilter::OutputFormat;
using test::CorePicture;

struct Frames {
    uint32_t width, height;
    std::vector<uint8_t> bytes;
    size_t FrameSize() const { return size_t(width) * height + 2 * size_t((width + 1) / 2) * ((height + 1) / 2); }
    const uint8_t* Frame(size_t i) const { return bytes.data() + i * FrameSize(); }
};

Frames Load(const char* name, uint32_t w, uint32_t h)
{
    Frames f{w, h, test::ReadFileBytes(test::MediaPath(std::string("mpeg2video/") + name + ".ref.yuv"))};
    EXPECT_GE(f.bytes.size(), 2 * f.FrameSize());
    return f;
}

// Which source lines and chroma rows output line y averages (A's first, B's second).
struct LinePlan {
    const mpeg2video::PictureBuffer *la, *lb;
    uint32_t ya, yb, ca, cb;
};
LinePlan Plan(const mpeg2video::PictureBuffer& a, const mpeg2video::PictureBuffer& b, uint32_t y, uint32_t h)
{
    if (y == h - 1)
        return {&b, &b, h - 1, h - 1, (h - 1) / 2, (h - 1) / 2};
    if (y == h - 2)
        return {&a, &b, h - 2, h - 1, (h - 2) / 2, (h - 1) / 2};
    const uint32_t i = y / 2;
    if (y % 2 == 0)
        return {&a, &b, 2 * i, 2 * i + 1, i, i};
    return {&a, &b, 2 * i + 2, 2 * i + 1, i + 1, i};
}

struct Yuv {
    int y, u, v;
};
Yuv Average(const mpeg2video::PictureBuffer& a, const mpeg2video::PictureBuffer& b, uint32_t x, uint32_t y,
            uint32_t h, int up)
{
    const LinePlan p = Plan(a, b, y, h);
    const size_t c = x / 2;
    return {(p.la->luma[p.ya * p.la->pitch + x] + p.lb->luma[p.yb * p.lb->pitch + x] + up) >> 1,
            (p.la->cb[p.ca * p.la->pitch + c] + p.lb->cb[p.cb * p.lb->pitch + c] + up) >> 1,
            (p.la->cr[p.ca * p.la->pitch + c] + p.lb->cr[p.cb * p.lb->pitch + c] + up) >> 1};
}

int Clamp(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

std::vector<uint8_t> ExpectedYuy2(const CorePicture& a, const CorePicture& b, uint32_t w, uint32_t h, int up)
{
    std::vector<uint8_t> out(size_t(w) * 2 * h);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; x += 2) {
            const Yuv p0 = Average(a.buffer, b.buffer, x, y, h, up), p1 = Average(a.buffer, b.buffer, x + 1, y, h, up);
            uint8_t* d = &out[(size_t(y) * w + x) * 2];
            d[0] = uint8_t(p0.y), d[1] = uint8_t(p0.u), d[2] = uint8_t(p1.y), d[3] = uint8_t(p0.v);
        }
    return out;
}

std::vector<uint8_t> ExpectedRgb32(const CorePicture& a, const CorePicture& b, uint32_t w, uint32_t h, bool halved)
{
    std::vector<uint8_t> out(size_t(w) * 4 * h);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            const Yuv p = Average(a.buffer, b.buffer, x, y, h, 0);
            const int Y = p.y - 16, U = p.u - 128, V = p.v - 128;
            uint8_t* d = &out[(size_t(h - 1 - y) * w + x) * 4];
            if (halved) {
                d[0] = uint8_t(Clamp((Y * 37 + U * 64 + 16) >> 5));
                d[1] = uint8_t(Clamp((Y * 37 - U * 12 - V * 26 + 16) >> 5));
                d[2] = uint8_t(Clamp((Y * 37 + V * 51 + 16) >> 5));
            } else {
                d[0] = uint8_t(Clamp((Y * 74 + U * 129 + 32) >> 6));
                d[1] = uint8_t(Clamp((Y * 74 - U * 25 - V * 52 + 32) >> 6));
                d[2] = uint8_t(Clamp((Y * 74 + V * 102 + 32) >> 6));
            }
            d[3] = 0;
        }
    return out;
}

std::vector<uint8_t> Convert(const CorePicture& a, const CorePicture& b, uint32_t w, uint32_t h, OutputFormat f,
                             uint32_t caps)
{
    std::vector<uint8_t> out(mpeg2videofilter::RowBytes(f, w) * h, 0xCC);
    OutputBuffer o{out.data(), out.size(), mpeg2videofilter::RowBytes(f, w), h};
    EXPECT_EQ(0, ConvertPicture(a.buffer, b.buffer, w, h, f, o, caps));
    return out;
}


TEST(ConvertPicture, EveryRoutineFollowsTheFormulasOnTheDecodedStream)
{
    for (auto [name, w, h] : {std::tuple<const char*, uint32_t, uint32_t>{"sd_interlaced", 720, 576},
                              {"options", 352, 288}}) {
        SCOPED_TRACE(name);
        const Frames f = Load(name, w, h);
        if (f.bytes.size() < 2 * f.FrameSize())
            return;
        // The previous picture's even lines with the current one's odd lines, and one picture alone.
        const CorePicture previous(f.Frame(0), w, h), current(f.Frame(1), w, h);
        for (const CorePicture* a : {&previous, &current}) {
            const auto plain = Convert(*a, current, w, h, OutputFormat::kYUY2, 0);
            EXPECT_EQ(ExpectedYuy2(*a, current, w, h, 0), plain);
            EXPECT_EQ(plain, Convert(*a, current, w, h, OutputFormat::kYUY2, kCpuMmx));
            EXPECT_EQ(ExpectedYuy2(*a, current, w, h, 1), Convert(*a, current, w, h, OutputFormat::kYUY2, kCpuMmx | kCpuSse2));

            const auto rgb = Convert(*a, current, w, h, OutputFormat::kRGB32, 0);
            EXPECT_EQ(ExpectedRgb32(*a, current, w, h, false), rgb);
            const auto rgbMmx = Convert(*a, current, w, h, OutputFormat::kRGB32, kCpuMmx | kCpuSse2);
            EXPECT_EQ(ExpectedRgb32(*a, current, w, h, true), rgbMmx);
            // Halved coefficients (129 -> 64, 25 -> 12) cost at most 2 levels against the plain routine.
            int worst = 0;
            for (size_t i = 0; i < rgb.size(); ++i)
                worst = std::max(worst, std::abs(int(rgb[i]) - int(rgbMmx[i])));
            EXPECT_LE(worst, 2);
        }
    }
}

TEST(ConvertPicture, OddAndTinySizesMatchThePlainRoutine)
{
    test::CTestRandom random(17);
    for (uint32_t w : {2u, 3u, 7u, 17u, 31u, 33u})
        for (uint32_t h : {2u, 3u, 5u, 8u}) {
            SCOPED_TRACE(testing::Message() << w << "x" << h);
            std::vector<uint8_t> planar(size_t(w) * h + 2 * size_t((w + 1) / 2) * ((h + 1) / 2));
            for (auto& b : planar)
                b = uint8_t(random.Next());
            const CorePicture a(planar.data(), w, h);
            std::reverse(planar.begin(), planar.end());
            const CorePicture b(planar.data(), w, h);
            const uint32_t even = (w + 1) & ~1u;
            // An odd width writes its last pixel pair from the picture's margin.
            auto plain = Convert(a, b, w, h, OutputFormat::kYUY2, 0);
            EXPECT_EQ(plain, Convert(a, b, w, h, OutputFormat::kYUY2, kCpuMmx));
            if (even == w) {
                EXPECT_EQ(ExpectedYuy2(a, b, w, h, 1), Convert(a, b, w, h, OutputFormat::kYUY2, kCpuSse2));
            }
            EXPECT_EQ(ExpectedRgb32(a, b, w, h, false), Convert(a, b, w, h, OutputFormat::kRGB32, 0));
            EXPECT_EQ(ExpectedRgb32(a, b, w, h, true), Convert(a, b, w, h, OutputFormat::kRGB32, kCpuMmx));
        }
}

TEST(ConvertPicture, Rgb32IsTopDownWhenTheFormatSaysSo)
{
    test::CTestRandom random(5);
    std::vector<uint8_t> planar(48 * 20 * 3 / 2);
    for (auto& b : planar)
        b = uint8_t(random.Next());
    const CorePicture p(planar.data(), 48, 20);
    const auto bottomUp = Convert(p, p, 48, 20, OutputFormat::kRGB32, kCpuMmx);
    std::vector<uint8_t> topDown(bottomUp.size());
    OutputBuffer o{topDown.data(), topDown.size(), 48 * 4, 20};
    o.rgbBottomUp = false;
    ASSERT_EQ(0, ConvertPicture(p.buffer, p.buffer, 48, 20, OutputFormat::kRGB32, o, kCpuMmx));
    for (uint32_t y = 0; y < 20; ++y)
        ASSERT_TRUE(std::equal(&topDown[y * 192], &topDown[y * 192] + 192, &bottomUp[(19 - y) * 192])) << y;
}

TEST(ConvertPicture, RefusesSizesAndBuffersThatCannotHoldTheFrame)
{
    std::vector<uint8_t> planar(64 * 64 * 3 / 2, 128);
    const CorePicture p(planar.data(), 64, 64);
    std::vector<uint8_t> out(64 * 64 * 4, 0xAB);
    OutputBuffer o{out.data(), out.size(), 64 * 4, 64};
    // A height below 2 would address "line h - 2" before the buffer.
    EXPECT_EQ(-1, ConvertPicture(p.buffer, p.buffer, 64, 1, OutputFormat::kRGB32, o, 0));
    EXPECT_EQ(-1, ConvertPicture(p.buffer, p.buffer, 1, 64, OutputFormat::kRGB32, o, 0));
    EXPECT_EQ(-1, ConvertPicture(p.buffer, p.buffer, 64, 0, OutputFormat::kYUY2, o, 0));
    // Larger than the decoded picture.
    EXPECT_EQ(-1, ConvertPicture(p.buffer, p.buffer, 64, 65, OutputFormat::kYUY2, o, 0));
    EXPECT_EQ(-1, ConvertPicture(p.buffer, p.buffer, 80, 64, OutputFormat::kYUY2, o, 0));
    // A sample shorter than stride x height (a format with biSizeImage 0, say).
    OutputBuffer shortBuffer{out.data(), 64 * 4 * 63, 64 * 4, 64};
    EXPECT_EQ(-1, ConvertPicture(p.buffer, p.buffer, 64, 64, OutputFormat::kRGB32, shortBuffer, 0));
    OutputBuffer narrow{out.data(), out.size(), 63 * 4, 64};
    EXPECT_EQ(-1, ConvertPicture(p.buffer, p.buffer, 64, 64, OutputFormat::kRGB32, narrow, 0));
    OutputBuffer fewRows{out.data(), out.size(), 64 * 4, 32};
    EXPECT_EQ(-1, ConvertPicture(p.buffer, p.buffer, 64, 64, OutputFormat::kYUY2, fewRows, 0));
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](uint8_t b) { return b == 0xAB; }));
    EXPECT_EQ(0, ConvertPicture(p.buffer, p.buffer, 64, 64, OutputFormat::kYUY2, o, 0));
}

mpeg2videofilter::LogoOverlay MakeLogo(uint32_t w, uint32_t h)
{
    mpeg2videofilter::LogoOverlay logo;
    logo.width = w;
    logo.height = h;
    logo.mask.resize(size_t(w) * h);
    for (size_t i = 0; i < logo.mask.size(); ++i)
        logo.mask[i] = uint8_t(i * 37);
    return logo;
}

TEST(LogoOverlay, SitsSixteenPixelsFromTopAndRightAndBlendsAwayFromTheBrightness)
{
    const auto small = MakeLogo(133, 48), large = MakeLogo(174, 63);
    for (uint32_t w : {820u, 821u, 140u}) {
        SCOPED_TRACE(w);
        const auto& logo = w <= mpeg2videofilter::kSmallLogoMaxWidth ? small : large;
        const uint32_t h = 100;
        for (OutputFormat f : {OutputFormat::kYUY2, OutputFormat::kRGB32}) {
            const size_t stride = mpeg2videofilter::RowBytes(f, w);
            std::vector<uint8_t> frame(stride * h);
            // Left half dark, right half light, so both blend branches run under the logo.
            for (uint32_t y = 0; y < h; ++y)
                for (size_t i = 0; i < stride; ++i)
                    frame[y * stride + i] = uint8_t(i < stride - 80 * (f == OutputFormat::kYUY2 ? 2 : 4) ? 40 : 200);
            std::vector<uint8_t> before = frame;
            OutputBuffer o{frame.data(), frame.size(), stride, h};
            mpeg2videofilter::BlendLogo(logo, f, o, w, h);
            if (w < logo.width + 16) {
                EXPECT_EQ(before, frame) << "too narrow: no logo";
                continue;
            }
            const uint32_t left = w - logo.width - 16;
            for (uint32_t y = 0; y < h; ++y)
                for (uint32_t x = 0; x < w; ++x) {
                    const bool inside = y >= 16 && y < 16 + logo.height && x >= left && x < left + logo.width;
                    const unsigned a = inside ? logo.mask[(y - 16) * logo.width + (x - left)] : 0;
                    const size_t row = f == OutputFormat::kYUY2 ? y : h - 1 - y;
                    if (f == OutputFormat::kYUY2) {
                        const unsigned v = before[row * stride + 2 * x];
                        const unsigned want = !inside ? v : v <= 128 ? ((255 - a) * v + 255 * a) / 256 : (255 - a) * v / 256;
                        ASSERT_EQ(want, frame[row * stride + 2 * x]) << x << "," << y;
                        ASSERT_EQ(before[row * stride + 2 * x + 1], frame[row * stride + 2 * x + 1]);
                    } else {
                        const uint8_t* p = &before[row * stride + 4 * x];
                        for (int c = 0; c < 3; ++c) {
                            const unsigned v = p[c];
                            const unsigned want =
                                !inside ? v : p[1] > 128 ? (255 - a) * v / 256 : ((255 - a) * v + 255 * a) / 256;
                            ASSERT_EQ(want, frame[row * stride + 4 * x + c]) << x << "," << y;
                        }
                    }
                }
        }
    }
    // An empty overlay (bitmap missing) draws nothing.
    std::vector<uint8_t> frame(900 * 4 * 100, 7);
    OutputBuffer o{frame.data(), frame.size(), 900 * 4, 100};
    mpeg2videofilter::BlendLogo(mpeg2videofilter::LogoOverlay{}, OutputFormat::kRGB32, o, 900, 100);
    EXPECT_TRUE(std::all_of(frame.begin(), frame.end(), [](uint8_t b) { return b == 7; }));
}

} // namespace
