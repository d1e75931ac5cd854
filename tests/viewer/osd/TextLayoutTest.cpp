#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/FakeGlyphs.h"
#include "viewer/osd/COSDString.h"
#include "viewer/osd/GlyphAtlas.h"
#include "viewer/osd/TextQuads.h"

using namespace OnScreenDisplay;

namespace {

struct Batch {
    uint32_t page;
    std::vector<Vertex> vertices;
};

std::vector<Batch> Draw(const COSDString& s, GlyphAtlas& atlas, const TextStyle& style)
{
    std::vector<Batch> batches;
    BuildTextQuads(s, atlas, style, [&](uint32_t page, const Vertex* v, unsigned triangles) {
        batches.push_back({page, std::vector<Vertex>(v, v + 3 * triangles)});
    });
    return batches;
}

} // namespace

TEST(TextLayout, SofteningKeepsTheBorder)
{
    std::vector<uint32_t> bitmap(25, 0);
    bitmap[2 * 5 + 2] = 0x00FF00FF;
    SoftenCell(bitmap.data(), 5, 5, 0, 0, 5, 5);
    EXPECT_EQ(bitmap[2 * 5 + 2], (255u * 28 / 64) * 0x00010001u);
    EXPECT_EQ(bitmap[1 * 5 + 2], (255u * 5 / 64) * 0x00010001u);
    EXPECT_EQ(bitmap[1 * 5 + 1], (255u * 4 / 64) * 0x00010001u);
    for (int i = 0; i < 5; ++i) { // the border is never filtered
        EXPECT_EQ(bitmap[i], 0u);
        EXPECT_EQ(bitmap[i * 5], 0u);
    }
    SoftenCell(bitmap.data(), 5, 5, 3, 3, 9, 9); // clamped to the bitmap, nothing inside to filter
}

TEST(TextLayout, AtlasFillsPagesAndAddsGlyphsOnDemand)
{
    FakeRasteriser r;
    FakePages pages;
    GlyphAtlas atlas(r, pages);
    ASSERT_TRUE(atlas.Initialize(32, 256));
    EXPECT_EQ(atlas.Gap(), 4); // ceil(0.2 x 20)
    EXPECT_EQ(pages.pages, 1);
    EXPECT_FALSE(atlas.GetGlyph(u'A').Missing());
    EXPECT_TRUE(atlas.GetGlyph(u'\u017E').Missing()); // Slovak z with caron: not yet
    EXPECT_EQ(atlas.GetGlyph(u'\t').uLeft, atlas.GetGlyph(u'\t').uLeft); // a tab is drawn as a space
    EXPECT_NE(r.drawn.find(u' '), std::u16string::npos);

    // Fill the page: the first glyph that does not fit starts page 2 at (gap, 0).
    int added = 0;
    while (pages.pages == 1 && added < 5000) {
        const uint32_t code = 0x400 + added++;
        ASSERT_TRUE(atlas.AddGlyphs(static_cast<char16_t>(code), code + 1));
    }
    const Glyph& first = atlas.GetGlyph(static_cast<char16_t>(0x400 + added - 1));
    EXPECT_EQ(first.page, 1u);
    EXPECT_FLOAT_EQ(first.uLeft, 4.0f / 512);
    EXPECT_FLOAT_EQ(first.vTop, 0.0f);

    // A string with glyphs on both pages draws in two batches, one per page.
    COSDString s;
    std::u16string text = u"A";
    text += static_cast<char16_t>(0x400 + added - 1);
    s.Layout(atlas, text);
    const std::vector<Batch> batches = Draw(s, atlas, TextStyle{1.0f, 0xFF000000, AlignLeft});
    ASSERT_EQ(batches.size(), 2u);
    EXPECT_EQ(batches[0].page, 0u);
    EXPECT_EQ(batches[1].page, 1u);

    // A letter outside the first range is rasterised when the text is laid out.
    s.Layout(atlas, u"\u017E");
    EXPECT_FALSE(atlas.GetGlyph(u'\u017E').Missing());
}

TEST(TextLayout, QuadsAlignClipFadeAndBand)
{
    FakeRasteriser r;
    FakePages pages;
    GlyphAtlas atlas(r, pages);
    ASSERT_TRUE(atlas.Initialize(32, 256));
    COSDString s;
    s.Layout(atlas, u"ab");
    ASSERT_EQ(s.GetWidth(), 20);
    ASSERT_EQ(s.GetHeight(), 20);
    ASSERT_EQ(s.GetGroups()[0][1].x, 11); // the shaper's advance, not the extent

    // Aspect 1: the text (as wide as high) fills the square exactly.
    TextStyle style{1.0f, 0xFF000000, AlignRight};
    std::vector<Batch> b = Draw(s, atlas, style);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_FLOAT_EQ(b[0].vertices[0].x, -1.0f);
    EXPECT_FLOAT_EQ(b[0].vertices[0].y, 1.0f);
    EXPECT_FLOAT_EQ(b[0].vertices[1].y, -1.0f);
    // Align codes: 3 puts the right end at 1, 2 centres, 1 and anything else start at -1.
    style.aspect = 2.0f; // the text takes half the square
    b = Draw(s, atlas, style);
    EXPECT_FLOAT_EQ(b[0].vertices[0].x, 0.0f);
    style.align = AlignCentre;
    EXPECT_FLOAT_EQ(Draw(s, atlas, style)[0].vertices[0].x, -0.5f);
    style.align = 7;
    EXPECT_FLOAT_EQ(Draw(s, atlas, style)[0].vertices[0].x, -1.0f);

    // Twice as wide as the widget: clipped at x = 1, the last glyph's u cut in proportion.
    style = TextStyle{0.5f, 0xFF000000, AlignLeft};
    b = Draw(s, atlas, style);
    ASSERT_EQ(b[0].vertices.size(), 6u); // the second letter starts beyond 1 and is dropped
    const Glyph& a = atlas.GetGlyph(u'a');
    EXPECT_FLOAT_EQ(b[0].vertices[2].x, 1.0f);
    EXPECT_FLOAT_EQ(b[0].vertices[2].u, a.uLeft + (a.uRight - a.uLeft) * 1.0f);
    style.aspect = 0.8f; // the second letter straddles x = 1
    b = Draw(s, atlas, style);
    ASSERT_EQ(b[0].vertices.size(), 12u);
    const Glyph& bg = atlas.GetGlyph(u'b');
    const float left = 11 * 2.5f / 20 * 2 / 2 - 1; // letter x in the square
    EXPECT_NEAR(b[0].vertices[8].u, bg.uLeft + (bg.uRight - bg.uLeft) * (1.0f - left) / (10 * 2.5f / 20), 1e-5);

    // Fading: fadeEnd 0.8 and an edge at 0.9 halve the alpha of that edge's vertices.
    style = TextStyle{1.0f, 0xFF102030, AlignLeft, -1.0f, 0.8f};
    COSDString one;
    one.Layout(atlas, u"W"); // 30 wide, 20 high
    style.aspect = 30.0f / 20 * 2 / 1.9f; // right edge at 0.9
    b = Draw(one, atlas, style);
    EXPECT_NEAR(b[0].vertices[2].x, 0.9f, 1e-5);
    EXPECT_EQ(b[0].vertices[2].colour, 0x7F102030u);
    EXPECT_EQ(b[0].vertices[0].colour, 0xFF102030u);

    // A band keeps only what lies inside it; an empty band keeps nothing.
    style = TextStyle{1.0f, 0xFF000000, AlignLeft};
    style.banded = true;
    style.bandTop = 0.5f;
    style.bandBottom = -0.5f;
    b = Draw(s, atlas, style);
    EXPECT_FLOAT_EQ(b[0].vertices[0].y, 0.5f);
    EXPECT_FLOAT_EQ(b[0].vertices[1].y, -0.5f);
    EXPECT_NEAR(b[0].vertices[0].v, a.vTop + (a.vBottom - a.vTop) * 0.25f, 1e-6);
    style.bandTop = -0.5f;
    EXPECT_TRUE(Draw(s, atlas, style).empty());
    // A band whose top is not a number, or at the bottom edge (the cut divides by its distance
    // from it), keeps nothing either.
    style.bandTop = std::nanf("");
    EXPECT_TRUE(Draw(s, atlas, style).empty());
    style.bandTop = -1.0f;
    style.bandBottom = -2.0f;
    EXPECT_TRUE(Draw(s, atlas, style).empty());

    // Nothing for an empty text, an aspect of 0 or one so small that the width it gives is
    // infinite (a denormal, positive as it is), and no NaN anywhere.
    COSDString empty;
    empty.Layout(atlas, u"");
    EXPECT_TRUE(Draw(empty, atlas, TextStyle{1.0f, 0xFF000000, AlignLeft}).empty());
    EXPECT_TRUE(Draw(s, atlas, TextStyle{0.0f, 0xFF000000, AlignLeft}).empty());
    for (int align : {AlignLeft, AlignCentre, AlignRight})
        EXPECT_TRUE(Draw(s, atlas, TextStyle{3.6e-42f, 0xFF000000, align}).empty()) << align;

    // Without shaping, letters stand at their own extents.
    r.shaping = false;
    s.Layout(atlas, u"ab");
    EXPECT_EQ(s.GetGroups()[0][1].x, 10);
}
