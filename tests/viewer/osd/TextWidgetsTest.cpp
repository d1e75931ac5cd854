#include <gtest/gtest.h>

#include "support/FakeGlyphs.h"
#include "support/FakeSkinTexture.h"
#include "support/RecordingSurface.h"
#include "viewer/osd/Display.h"
#include "viewer/osd/Header.h"
#include "viewer/osd/Memo.h"
#include "viewer/osd/Scale.h"

using namespace OnScreenDisplay;

namespace {

class TextWidgets : public ::testing::Test {
protected:
    void SetUp() override
    {
        root.Create(&surface);
        root.SetSize(1000, 1000);
        SetScale(1.0f);
    }
    RecordingSurface surface;
    RecordingFont font;
    Display root;
};

} // namespace

TEST_F(TextWidgets, LabelsDrawTheirOwnOrABorrowedString)
{
    auto* label = new Label();
    label->SetRect(0, 0, 200, 20);
    label->SetParent(&root);
    label->SetFont(&font);
    label->SetText(u"Alpha TV");
    label->m_colour = 0xFF102030;
    root.Render(0.5f);
    ASSERT_EQ(font.draws.size(), 1u);
    EXPECT_EQ(font.draws[0].text, u"Alpha TV");
    EXPECT_EQ(font.draws[0].style.colour, 0x7F102030u);
    EXPECT_FLOAT_EQ(font.draws[0].style.aspect, 10.0f);

    // A borrowed string is drawn even over an empty text, with the borrowed colour as it stands.
    COSDString other;
    other.Layout(font.Atlas(), u"lent");
    label->SetText(u"");
    label->m_borrowed = &other;
    label->m_borrowedColour = 0x80FFFFFF;
    label->m_borrowedAlignment = AlignRight;
    root.Render(0.25f);
    ASSERT_EQ(font.draws.size(), 2u);
    EXPECT_EQ(font.draws[1].text, u"lent");
    EXPECT_EQ(font.draws[1].style.colour, 0x80FFFFFFu);
    EXPECT_EQ(font.draws[1].style.align, AlignRight);

    label->SetRect(0, 0, 200, 0); // height 0: nothing
    root.Render(1.0f);
    EXPECT_EQ(font.draws.size(), 2u);
}

TEST_F(TextWidgets, MemoWrapsAtWordsAndDrawsDownToItsBottom)
{
    auto* memo = new Memo();
    memo->SetRect(0, 0, 400, 1000);
    memo->SetParent(&root);
    memo->SetFont(&font);
    memo->m_lineHeight = 20.0f; // one font pixel per OSD pixel: the limit is the width, 400
    memo->SetText(u"a b\n\nc");
    ASSERT_EQ(memo->GetLines().size(), 2u); // the empty paragraph adds no line
    EXPECT_EQ(memo->GetLines()[0].GetText(), u"a b");
    EXPECT_EQ(memo->GetLines()[1].GetText(), u"c");

    // Words of 10 pixels plus a blank (20 each) in 50 pixels: two words a line, no blank lines,
    // and a word wider than a whole line stands alone without an empty line before it.
    memo->SetRect(0, 0, 50, 1000);
    memo->SetText(u"a b c d WWWWWWWW e");
    std::vector<std::u16string> lines;
    for (const COSDString& s : memo->GetLines())
        lines.push_back(s.GetText());
    EXPECT_EQ(lines, (std::vector<std::u16string>{u"a b", u"c d", u"WWWWWWWW", u"e"}));

    // Drawn in black with the opacity, down to and including the line that crosses the bottom.
    memo->SetRect(0, 0, 50, 30);
    memo->SetText(u"a b c d e f");
    font.draws.clear();
    root.Render(1.0f);
    ASSERT_EQ(font.draws.size(), 2u);
    EXPECT_EQ(font.draws[0].style.colour, 0xFF000000u);
    EXPECT_TRUE(font.draws[0].style.banded);

    // A font that measures nothing gives no lines rather than a division by zero.
    font.rasteriser.zeroHeight = true;
    memo->SetText(u"a b");
    EXPECT_TRUE(memo->GetLines().empty());
}

TEST_F(TextWidgets, HeaderColumnsAndSeparators)
{
    FakeSkinTexture divider(3, 28);
    auto* header = new Header();
    header->SetRect(0, 0, 250, 33);
    header->SetParent(&root);
    header->SetFont(&font);
    header->SetSeparatorTexture(&divider);
    for (int i = 0; i < 3; ++i)
        header->AddItem(u"col", 100);
    root.Render(1.0f);
    ASSERT_EQ(font.draws.size(), 2u); // 1-101 and 101-201 fit, 201-301 does not
    EXPECT_EQ(font.draws[0].style.align, AlignCentre);
    ASSERT_EQ(surface.draws.size(), 2u); // the bar, then the one separator
    const std::vector<Vertex>& sep = surface.draws[1].vertices;
    ASSERT_EQ(sep.size(), 6u);
    EXPECT_NEAR((sep[0].x + sep[1].x) / 2, 2 * 101.0f / 250 - 1, 1e-5);

    header->ClearItems();
    for (int i = 0; i < 25; ++i)
        header->AddItem(u"c", 5);
    surface.draws.clear();
    root.Render(1.0f);
    EXPECT_EQ(surface.draws[1].vertices.size(), 6u * Header::kMaxSeparators);
    root.DeleteChildren();
    EXPECT_EQ(divider.references, 0);
}
