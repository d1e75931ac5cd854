// Display sets built segment by segment and drawn: every pixel of the bitmap is checked against
// a picture worked out from the pixel codes directly.
#include <gtest/gtest.h>

#include <vector>

#include "dvb/libDVB/subtitle/CSubtitleCanvas.h"
#include "dvb/libDVB/subtitle/CSubtitleMemorySurface.h"
#include "support/SubtitleBuilder.h"
#include "support/TestMedia.h"

using namespace libDVB;
using namespace test;

namespace {

constexpr uint16_t kPage = 1;
constexpr int W = CSubtitleCanvas::kWidth;
constexpr int H = CSubtitleCanvas::kHeight;

using Picture = std::vector<uint32_t>; // top-down, W x H

// A palette of distinct opaque colours for codes 1..15 (full-range entries, T 0); entry 0 stays
// undefined (transparent), so code 0 is transparent however the encoder codes its runs.
std::vector<SubtitleClutEntry> Palette()
{
    std::vector<SubtitleClutEntry> e;
    for (uint8_t i = 1; i < 16; ++i)
        e.push_back({i, 0x40, true, static_cast<uint8_t>(40 + 12 * i), static_cast<uint8_t>(100 + 3 * i),
                     static_cast<uint8_t>(160 - 4 * i), 0});
    return e;
}

struct CanvasTest : ::testing::Test {
    // Parses the segments into a set the way the decoder does for one PES.
    void Build(const std::vector<Bytes>& segments)
    {
        for (const auto& s : segments) {
            HRESULT hr = E_FAIL;
            switch (s[1]) {
            case 0x10: hr = set.ParsePageComposition(s.data(), static_cast<uint32_t>(s.size())); break;
            case 0x11: hr = set.ParseRegionComposition(s.data(), static_cast<uint32_t>(s.size())); break;
            case 0x12: hr = set.ParseClutDefinition(s.data(), static_cast<uint32_t>(s.size())); break;
            case 0x13: hr = set.ParseObjectData(s.data(), static_cast<uint32_t>(s.size())); break;
            }
            ASSERT_EQ(hr, S_OK) << "segment type " << int(s[1]);
        }
    }
    uint32_t Colour(unsigned code) { return set.FindClut(0)->entries4[code]; }
    void ExpectPicture(const Picture& expected)
    {
        int wrong = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (canvas.Pixel(x, y) != expected[y * W + x] && ++wrong <= 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << canvas.Pixel(x, y) << " not "
                                  << expected[y * W + x];
        EXPECT_EQ(wrong, 0);
    }

    CSubtitleDisplaySet set;
    CSubtitleMemorySurface surface;
    CSubtitleCanvas canvas{surface.Pixels()};
};

std::vector<std::vector<uint8_t>> Pattern(int width, int height, uint64_t seed)
{
    // Runs of every length the code has (1 to 300 pixels), codes 0..15.
    CTestRandom random(seed);
    std::vector<std::vector<uint8_t>> lines(height);
    for (auto& line : lines)
        while (static_cast<int>(line.size()) < width) {
            const uint8_t code = static_cast<uint8_t>(random.Below(16));
            const uint32_t run = random.Below(4) == 0 ? 1 + random.Below(300) : 1 + random.Below(12);
            for (uint32_t i = 0; i < run && static_cast<int>(line.size()) < width; ++i)
                line.push_back(code);
        }
    return lines;
}

} // namespace

TEST_F(CanvasTest, DrawsBothFieldsPixelExact)
{
    const int ow = 300, oh = 40;
    const auto lines = Pattern(ow, oh, 7);
    std::vector<std::vector<uint8_t>> top, bottom;
    for (int y = 0; y < oh; ++y)
        (y % 2 ? bottom : top).push_back(lines[y]);
    SubtitleRegion region;
    region.id = 1;
    region.width = 400;
    region.height = 60;
    region.code4 = 3; // background: transparent
    region.objects = {{5, 0, 0, 10, 6}};
    Build({PageCompositionSegment(kPage, 5, 0, 1, {{1, 100, 400}}), RegionCompositionSegment(kPage, region),
           ClutDefinitionSegment(kPage, 0, 0, Palette()),
           ObjectDataSegment(kPage, 5, 0, FourBitField(top), FourBitField(bottom))});
    canvas.Draw(set);

    Picture expected(W * H, 0);
    for (int y = 0; y < oh; ++y)
        for (int x = 0; x < ow; ++x) {
            const unsigned code = lines[y][x];
            expected[(400 + 6 + y) * W + 100 + 10 + x] = code == 3 || code == 0 ? 0 : Colour(code);
        }
    ExpectPicture(expected);
}

TEST_F(CanvasTest, BottomFieldOfLengthZeroRepeatsTheTopField)
{
    const auto lines = Pattern(50, 5, 11);
    SubtitleRegion region;
    region.id = 1;
    region.width = 60;
    region.height = 20;
    region.objects = {{5, 0, 0, 0, 0}};
    Build({PageCompositionSegment(kPage, 5, 0, 1, {{1, 0, 0}}), RegionCompositionSegment(kPage, region),
           ClutDefinitionSegment(kPage, 0, 0, Palette()), ObjectDataSegment(kPage, 5, 0, FourBitField(lines), {})});
    canvas.Draw(set);
    Picture expected(W * H, 0);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 50; ++x) {
            const unsigned code = lines[y / 2][x];
            expected[y * W + x] = code == 0 ? 0 : Colour(code);
        }
    ExpectPicture(expected);
}

TEST_F(CanvasTest, ObjectsAreClippedToTheirRegionAndToTheBitmap)
{
    const auto lines = Pattern(200, 30, 3);
    SubtitleRegion inner;
    inner.id = 1;
    inner.width = 50; // narrower and lower than the object
    inner.height = 11;
    inner.objects = {{5, 0, 0, 20, 3}};
    SubtitleRegion corner;
    corner.id = 2;
    corner.width = 300; // reaches past the right and the bottom edge
    corner.height = 300;
    corner.objects = {{5, 0, 0, 0, 0}};
    Build({PageCompositionSegment(kPage, 5, 0, 1, {{1, 100, 100}, {2, 650, 560}}),
           RegionCompositionSegment(kPage, inner), RegionCompositionSegment(kPage, corner),
           ClutDefinitionSegment(kPage, 0, 0, Palette()), ObjectDataSegment(kPage, 5, 0, FourBitField(lines), {})});
    canvas.Draw(set);
    Picture expected(W * H, 0);
    auto put = [&](int rx, int ry, int rw, int rh, int ox, int oy) {
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 200; ++x) {
                const int px = rx + ox + x, py = ry + oy + y;
                if (px < rx || px >= rx + rw || py < ry || py >= ry + rh || px >= W || py >= H)
                    continue;
                const unsigned code = lines[y / 2][x];
                expected[py * W + px] = code == 0 ? 0 : Colour(code);
            }
    };
    put(100, 100, 50, 11, 20, 3);
    put(650, 560, 300, 300, 0, 0);
    ExpectPicture(expected);
}

TEST_F(CanvasTest, PseudoColourRunsAreTransparentAndBlackIsTranslucent)
{
    // Hand-coded 4-bit string: 2 pixels of code 0 via the pseudo-colour code, 10 of code 0 as an
    // explicit run (CLUT entry 0), 3 of code 5 (the region's background), 1 of code 2 (black).
    const Bytes field = {0x11, 0x0D, 0x0E, 0x10, 0x55, 0x52, 0x00, 0xF0};
    SubtitleRegion region;
    region.id = 1;
    region.width = 100;
    region.height = 10;
    region.code4 = 5;
    region.objects = {{5, 0, 0, 0, 0}};
    Build({PageCompositionSegment(kPage, 5, 0, 1, {{1, 10, 10}}), RegionCompositionSegment(kPage, region),
           ClutDefinitionSegment(kPage, 0, 0,
                                 {{0, 0x40, true, 235, 128, 128, 0}, {2, 0x40, true, 16, 128, 128, 0},
                                  {5, 0x40, true, 100, 100, 100, 0}}),
           ObjectDataSegment(kPage, 5, 0, field, {})});
    canvas.Draw(set);
    for (int line : {10, 11}) {
        int x = 10;
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(canvas.Pixel(x++, line), 0u);
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(canvas.Pixel(x++, line), 0xFFEBEBEBu);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(canvas.Pixel(x++, line), 0u);
        EXPECT_EQ(canvas.Pixel(x++, line), CSubtitleCanvas::kTranslucentBlack);
        EXPECT_EQ(canvas.Pixel(x, line), 0u);
    }
    // The set's own CLUT keeps the background entry.
    EXPECT_EQ(Colour(5) >> 24, 0xFFu);
}

TEST_F(CanvasTest, OtherBlockTypesAreSteppedOver)
{
    // A 2-bit string of four pixels (not drawn, but it takes its place), a 4-to-8 map table, then a
    // 4-bit string of two pixels of code 1; after an unknown block nothing more is read.
    Bytes field = {0x10, 0x55, 0x00, 0x22};
    field.insert(field.end(), 16, 0xAB);
    field.insert(field.end(), {0x11, 0x11, 0x00, 0x77, 0x11, 0x11, 0x00});
    SubtitleRegion region;
    region.id = 1;
    region.width = 100;
    region.height = 10;
    region.code4 = 15;
    region.objects = {{5, 0, 0, 0, 0}};
    Build({PageCompositionSegment(kPage, 5, 0, 1, {{1, 0, 0}}), RegionCompositionSegment(kPage, region),
           ClutDefinitionSegment(kPage, 0, 0, Palette()), ObjectDataSegment(kPage, 5, 0, field, {})});
    canvas.Draw(set);
    Picture expected(W * H, 0);
    for (int y = 0; y < 2; ++y)
        expected[y * W + 4] = expected[y * W + 5] = Colour(1);
    ExpectPicture(expected);
}

TEST_F(CanvasTest, RegionsWithoutClutAndReferencesWithoutObjectsAreSkipped)
{
    SubtitleRegion noClut;
    noClut.id = 1;
    noClut.width = 10;
    noClut.height = 10;
    noClut.clut = 9;
    noClut.objects = {{5, 0, 0, 0, 0}};
    SubtitleRegion noObject;
    noObject.id = 2;
    noObject.width = 10;
    noObject.height = 10;
    noObject.objects = {{6, 0, 0, 0, 0}, {5, 0, 0, 0, 0}};
    Build({PageCompositionSegment(kPage, 5, 0, 1, {{1, 0, 0}, {3, 0, 0}, {2, 20, 0}}),
           RegionCompositionSegment(kPage, noClut), RegionCompositionSegment(kPage, noObject),
           ClutDefinitionSegment(kPage, 0, 0, Palette()), ObjectDataSegment(kPage, 5, 0, FourBitField({{1, 2}}), {})});
    canvas.Draw(set);
    Picture expected(W * H, 0);
    for (int y = 0; y < 2; ++y) {
        expected[y * W + 20] = Colour(1);
        expected[y * W + 21] = Colour(2);
    }
    ExpectPicture(expected);
}
