#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dvb/libDVB/teletext/CTeletextLayout.h"
#include "dvb/libDVB/teletext/TeletextAlpha.h"
#include "support/TeletextBuilder.h"

using namespace libDVB;
using Cell = CTeletextLayout::CCell;
using Link = CTeletextPage::CLinkRectangle;

namespace {

// Cells as the decoder stores them: the code with its parity bit in bit 7.
void SetRow(CTeletextPage& page, unsigned row, const std::string& text)
{
    for (unsigned c = 0; c < 40; ++c)
        page.cells[row * 40 + c] = test::WithOddParity(c < text.size() ? static_cast<uint8_t>(text[c]) : ' ');
}

CTeletextPage BlankPage()
{
    CTeletextPage page(100, 0);
    for (unsigned row = 0; row < 25; ++row)
        SetRow(page, row, "");
    return page;
}

struct LayoutTest : ::testing::Test {
    LayoutTest() { BuildTeletextCharacterTable(0, table); }
    void Build(const CTeletextPage& page, bool subtitle = false, bool newsflash = false)
    {
        layout.Build(page, subtitle, newsflash, table);
    }
    // The cells drawn for page row `row`, in drawing order.
    std::vector<Cell> Row(unsigned row) const
    {
        std::vector<Cell> out;
        for (const Cell& c : layout.Cells())
            if (c.row == row)
                out.push_back(c);
        return out;
    }
    char16_t table[kTeletextCharacterCount];
    CTeletextLayout layout;
};

bool SameLink(const Link& a, const Link& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom && a.page == b.page;
}

::testing::AssertionResult LinksAre(const std::vector<Link>& actual, const std::vector<Link>& expected)
{
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure() << actual.size() << " links, expected " << expected.size();
    for (size_t i = 0; i < actual.size(); ++i)
        if (!SameLink(actual[i], expected[i]))
            return ::testing::AssertionFailure()
                   << "link " << i << ": " << actual[i].left << "," << actual[i].top << "," << actual[i].right << ","
                   << actual[i].bottom << " -> " << actual[i].page;
    return ::testing::AssertionSuccess();
}

} // namespace

TEST_F(LayoutTest, RowsStartWhiteOnBlackAndColoursTakeEffectAtTheirCell)
{
    CTeletextPage page = BlankPage();
    // red text, new background (red), yellow text on it, black background, alpha black on black
    SetRow(page, 1, "\x01R\x1D\x03Y\x1CZ\x00K");
    page.cells[1 * 40 + 7] = test::WithOddParity(0x00); // a C string stops at the NUL
    page.cells[1 * 40 + 8] = test::WithOddParity('K');
    SetRow(page, 2, "N");
    Build(page);
    const std::vector<Cell> row = Row(1);
    ASSERT_EQ(row.size(), 40u);
    struct Expect {
        uint8_t fg, bg;
        char16_t ch;
    } expect[] = {{1, 0, u' '}, {1, 0, u'R'}, {1, 1, u' '}, {3, 1, u' '}, {3, 1, u'Y'},
                  {3, 0, u' '}, {3, 0, u'Z'}, {3, 0, u' '}, {3, 0, u'K'}, {3, 0, u' '}};
    for (unsigned c = 0; c < 10; ++c) {
        EXPECT_EQ(row[c].column, c);
        EXPECT_EQ(row[c].foreground, expect[c].fg) << c;
        EXPECT_EQ(row[c].background, expect[c].bg) << c;
        EXPECT_EQ(row[c].character, expect[c].ch) << c;
        EXPECT_FALSE(row[c].mosaic) << c;
    }
    // The next row starts afresh.
    EXPECT_EQ(Row(2)[0].foreground, 7);
    EXPECT_EQ(Row(2)[0].background, 0);
    EXPECT_EQ(Row(2)[0].character, u'N');

    // Alpha black takes effect once the background is not black.
    SetRow(page, 1, "\x04\x1D" "A");
    page.cells[1 * 40 + 3] = test::WithOddParity(0x00);
    page.cells[1 * 40 + 4] = test::WithOddParity('B');
    Build(page);
    EXPECT_EQ(Row(1)[2].foreground, 4);
    EXPECT_EQ(Row(1)[4].foreground, 0);
    EXPECT_EQ(Row(1)[4].background, 4);
}

TEST_F(LayoutTest, MosaicsContiguousAndSeparatedWithCapitalsBlastThrough)
{
    CTeletextPage page = BlankPage();
    // white mosaics: full block, separated full block, 'A' (0x41 stays a character), sixel 0x61
    SetRow(page, 3, "\x17\x7F\x1A\x7F" "A\x61\x19\x35");
    Build(page);
    const std::vector<Cell> row = Row(3);
    EXPECT_FALSE(row[0].mosaic); // a control cell is a space
    EXPECT_EQ(row[0].character, u' ');
    EXPECT_TRUE(row[1].mosaic);
    EXPECT_EQ(row[1].sixels, 0x3F);
    EXPECT_FALSE(row[1].separated);
    EXPECT_TRUE(row[3].mosaic);
    EXPECT_EQ(row[3].sixels, 0x3F);
    EXPECT_TRUE(row[3].separated);
    EXPECT_FALSE(row[4].mosaic);
    EXPECT_EQ(row[4].character, u'A');
    EXPECT_TRUE(row[5].mosaic);
    EXPECT_EQ(row[5].sixels, 0x21); // 0x61: sixels 0 (top left) and 5 (bottom right)
    EXPECT_TRUE(row[7].mosaic);
    EXPECT_FALSE(row[7].separated);
    EXPECT_EQ(row[7].sixels, 0x15); // 0x35: the left column
    // A space after an alpha colour is a character again.
    SetRow(page, 3, "\x17\x7F\x07\x7F");
    Build(page);
    EXPECT_FALSE(Row(3)[3].mosaic);
    EXPECT_EQ(Row(3)[3].character, u'\u25A0');
}

TEST_F(LayoutTest, HoldMosaicsRepeatsTheLastMosaicAndDelaysTheColour)
{
    CTeletextPage page = BlankPage();
    SetRow(page, 4, "\x11\x1E\x7F\x12\x13\x1A\x1F\x14\x01\x1E");
    Build(page);
    const std::vector<Cell> row = Row(4);
    EXPECT_TRUE(row[1].mosaic);
    EXPECT_EQ(row[1].sixels, 0); // nothing held yet: a space
    EXPECT_EQ(row[2].sixels, 0x3F);
    // Held: the mosaic colour codes show the held block in the colour before them.
    EXPECT_TRUE(row[3].mosaic);
    EXPECT_EQ(row[3].sixels, 0x3F);
    EXPECT_EQ(row[3].foreground, 1);
    EXPECT_EQ(row[4].foreground, 2);
    EXPECT_EQ(row[4].sixels, 0x3F);
    // The held block keeps the contiguous look it was drawn with.
    EXPECT_EQ(row[5].sixels, 0x3F);
    EXPECT_FALSE(row[5].separated);
    EXPECT_EQ(row[5].foreground, 3);
    // Released: control cells are spaces, and colours take effect at once.
    EXPECT_EQ(row[6].sixels, 0);
    EXPECT_EQ(row[7].foreground, 4);
    EXPECT_EQ(row[7].sixels, 0);
    // An alpha colour ends holding.
    EXPECT_FALSE(row[8].mosaic);
    EXPECT_TRUE(row[9].mosaic); // hold again, in alpha mode, shows the held block
    EXPECT_EQ(row[9].sixels, 0x3F);
}

TEST_F(LayoutTest, ConcealHidesUntilTheNextColour)
{
    CTeletextPage page = BlankPage();
    SetRow(page, 5, "\x18SECRET\x02OPEN\x12\x18\x7F");
    Build(page);
    const std::vector<Cell> row = Row(5);
    for (unsigned c = 1; c <= 6; ++c)
        EXPECT_EQ(row[c].character, u' ') << c;
    EXPECT_EQ(row[8].character, u'O');
    EXPECT_TRUE(row[14].mosaic);
    EXPECT_EQ(row[14].sixels, 0);
}

TEST_F(LayoutTest, DoubleHeightDrawsTheLowerRowFromTheUpperRowsAttributes)
{
    CTeletextPage page = BlankPage();
    SetRow(page, 5, "AB\x01\x1D\x0D" "CD\x0C" "E");
    SetRow(page, 6, "NEVER DRAWN");
    SetRow(page, 7, "AFTER");
    Build(page);
    const auto& cells = layout.Cells();
    // Rows 1 to 4, then the first drawing of row 5, which stops at the double-height code (column 4).
    const size_t row5 = 4 * 40;
    size_t i = row5;
    for (; i < row5 + 4; ++i) {
        EXPECT_EQ(cells[i].row, 5);
        EXPECT_EQ(cells[i].column, i - row5);
        EXPECT_FALSE(cells[i].doubleHeight);
    }
    EXPECT_EQ(cells[row5 + 1].character, u'B');
    // Then row 6 from row 5's cells: spaces, with row 5's background from column 3 on.
    for (unsigned c = 0; c < 40; ++c, ++i) {
        EXPECT_EQ(cells[i].row, 6);
        EXPECT_EQ(cells[i].column, c);
        EXPECT_EQ(cells[i].character, u' ') << c;
        EXPECT_FALSE(cells[i].doubleHeight);
        EXPECT_EQ(cells[i].background, c >= 3 ? 1 : 0) << c;
    }
    // Then row 5 whole, double height from the code to the normal-size code.
    for (unsigned c = 0; c < 40; ++c, ++i) {
        EXPECT_EQ(cells[i].row, 5);
        EXPECT_EQ(cells[i].doubleHeight, c >= 4 && c < 7) << c;
    }
    EXPECT_EQ(cells[row5 + 4 + 40 + 5].character, u'C');
    EXPECT_EQ(cells[row5 + 4 + 40 + 8].character, u'E');
    EXPECT_FALSE(cells[row5 + 4 + 40 + 8].doubleHeight);
    // Drawing goes on with row 7; row 6's own cells never show.
    EXPECT_EQ(cells[i].row, 7);
    EXPECT_EQ(cells[i].character, u'A');
    for (const Cell& c : cells)
        EXPECT_NE(c.character, u'V');
    EXPECT_EQ(cells.size(), 40u * 4 + 4 + 40 + 40 + 40 * 17);
}

TEST_F(LayoutTest, RowTwentyFourOnlyWithItsFlagAndTheLastRowIsCompleted)
{
    CTeletextPage page = BlankPage();
    SetRow(page, 23, "\x0D" "TALL");
    SetRow(page, 24, "NAVIGATION");
    Build(page);
    EXPECT_TRUE(Row(24).empty());
    // Row 23 is the last drawn: nothing below to reach into, so it is drawn whole in normal size.
    ASSERT_EQ(Row(23).size(), 40u);
    EXPECT_EQ(Row(23)[1].character, u'T');
    EXPECT_FALSE(Row(23)[1].doubleHeight);

    page.row24 = 1;
    Build(page);
    // Now row 23 is the upper row of a pair and row 24 its lower half.
    ASSERT_EQ(Row(24).size(), 40u);
    EXPECT_EQ(Row(24)[0].character, u' ');
    EXPECT_TRUE(Row(23).back().doubleHeight);
    SetRow(page, 23, "");
    SetRow(page, 24, "\x0DNAV");
    Build(page);
    ASSERT_EQ(Row(24).size(), 40u);
    EXPECT_EQ(Row(24)[1].character, u'N');
}

TEST_F(LayoutTest, SixelGeometry)
{
    // 12 x 20 cells: sixels 7 wide, 7 high (14 in double height), reaching past the cell.
    const auto r0 = CTeletextLayout::Sixel(24, 40, 12, 20, false, 0);
    EXPECT_EQ(r0.left, 24);
    EXPECT_EQ(r0.top, 40);
    EXPECT_EQ(r0.right, 31);
    EXPECT_EQ(r0.bottom, 47);
    const auto r5 = CTeletextLayout::Sixel(24, 40, 12, 20, false, 5);
    EXPECT_EQ(r5.left, 31);
    EXPECT_EQ(r5.top, 54);
    EXPECT_EQ(r5.right, 38);
    EXPECT_EQ(r5.bottom, 61);
    const auto d3 = CTeletextLayout::Sixel(0, 0, 13, 20, true, 3);
    EXPECT_EQ(d3.left, 7);
    EXPECT_EQ(d3.top, 14);
    EXPECT_EQ(d3.right, 14);
    EXPECT_EQ(d3.bottom, 28);
}

TEST_F(LayoutTest, NationalCharactersComeFromTheTable)
{
    CTeletextPage page = BlankPage();
    SetRow(page, 1, "#_{");
    BuildTeletextCharacterTable(9, table);
    Build(page);
    EXPECT_EQ(Row(1)[0].character, u'£');
    EXPECT_EQ(Row(1)[1].character, u'#');
    EXPECT_EQ(Row(1)[2].character, u'¼');
}

TEST_F(LayoutTest, ThreeDigitPageNumbersBecomeLinks)
{
    CTeletextPage page = BlankPage();
    SetRow(page, 2, "Page 234 and 1234 or 099, 900, 100");
    SetRow(page, 3, std::string(37, ' ') + "899");
    SetRow(page, 4, "\x03" "345");
    SetRow(page, 6, std::string(40, '8')); // a run of 40 digits is no number (nor an overflow)
    Build(page);
    EXPECT_TRUE(LinksAre(layout.Links(), {
                                             {4, 1, 8, 2, 234},
                                             {30, 1, 34, 2, 100},
                                             {36, 2, 40, 3, 899}, // the run ending the row keeps its last digit
                                             {0, 3, 4, 4, 345},
                                         }));
}

TEST_F(LayoutTest, DoubleHeightLinksReachIntoTheLowerRow)
{
    CTeletextPage page = BlankPage();
    SetRow(page, 10, "P101 \x0DP202");
    Build(page);
    EXPECT_TRUE(LinksAre(layout.Links(), {
                                             {0, 9, 4, 10, 101},  // first drawing, up to the code
                                             {0, 9, 4, 11, 101},  // the taller one behind it
                                             {6, 9, 10, 11, 202}, // after the code: only the tall one
                                         }));
}

TEST_F(LayoutTest, NavigationRowLinksTheColouredKeywords)
{
    CTeletextPage page = BlankPage();
    SetRow(page, 2, "see 150");
    SetRow(page, 23, "and 160");
    // red keyword, green on a new background (its text colour starts nothing), yellow, cyan
    SetRow(page, 24, "\x01News \x02\x1D\x07Sport \x03Weather \x06More 170");
    page.row24 = 1;
    page.linkedPages = {120, 130, 0, 140};
    Build(page);
    EXPECT_TRUE(LinksAre(layout.Links(), {
                                             {3, 1, 7, 2, 150},
                                             {3, 22, 7, 23, 160},
                                             {0, 23, 6, 24, 120},
                                             {6, 23, 15, 24, 130},
                                             // yellow names no page: no link
                                             {24, 23, 40, 24, 140},
                                         }));
    // Without the row-24 flag the row is not drawn and links nothing.
    page.row24 = 0;
    Build(page);
    EXPECT_EQ(layout.Links().size(), 2u);
    // Without linked pages, row 24's page numbers are links like any other row's.
    page.row24 = 1;
    page.linkedPages.clear();
    Build(page);
    ASSERT_EQ(layout.Links().size(), 3u);
    EXPECT_TRUE(SameLink(layout.Links()[2], {29, 23, 33, 24, 170}));
    // More keywords than linked pages: the rest lead nowhere.
    page.linkedPages = {120};
    Build(page);
    EXPECT_TRUE(LinksAre(layout.Links(), {{3, 1, 7, 2, 150}, {3, 22, 7, 23, 160}, {0, 23, 6, 24, 120}}));
}

namespace {

std::vector<uint8_t> Rows(int height, std::vector<std::pair<int, int>> ranges)
{
    std::vector<uint8_t> rows(static_cast<size_t>(height), 0);
    for (auto [from, to] : ranges)
        for (int y = from; y <= to; ++y)
            rows[static_cast<size_t>(y)] = 1;
    return rows;
}

} // namespace

TEST_F(LayoutTest, TreatedRowsOfOrdinaryPages)
{
    constexpr int ch = 20, height = 24 * ch;
    CTeletextPage page = BlankPage();
    SetRow(page, 5, "\x0B\x0B" "BOXED\x0A\x0A");
    Build(page);
    EXPECT_FALSE(layout.Restricted());
    // Everything but the row-24 band (row 24 and the last pixel row of row 23).
    EXPECT_EQ(layout.TreatedRows(ch), Rows(height, {{0, 23 * ch - 2}}));
    page.row24 = 1;
    Build(page);
    EXPECT_EQ(layout.TreatedRows(ch), Rows(height, {{0, height - 1}}));
    // A newsflash without a box is an ordinary page.
    SetRow(page, 5, "FLASH");
    Build(page, false, true);
    EXPECT_FALSE(layout.Restricted());
}

TEST_F(LayoutTest, SubtitlePagesShowOnlyTheirBoxesAndRowTwentyFour)
{
    constexpr int ch = 20, height = 24 * ch;
    CTeletextPage page = BlankPage();
    SetRow(page, 5, "NO BOX HERE");
    Build(page, true);
    EXPECT_TRUE(layout.Restricted());
    EXPECT_EQ(layout.TreatedRows(ch), Rows(height, {}));
    page.row24 = 1;
    Build(page, true);
    EXPECT_EQ(layout.TreatedRows(ch), Rows(height, {{23 * ch - 1, height - 1}}));

    // Boxes in rows 20 and 21: from the pixel row above row 20 to the end of the row after the end box.
    page.row24 = 0;
    SetRow(page, 20, "\x0B\x0BLINE ONE\x0A\x0A");
    SetRow(page, 21, "\x0B\x0BLINE TWO\x0A\x0A");
    Build(page, true);
    EXPECT_EQ(layout.BoxTop(), 20);
    EXPECT_EQ(layout.BoxBottom(), 22);
    EXPECT_EQ(layout.TreatedRows(ch), Rows(height, {{19 * ch - 1, 22 * ch - 1}}));

    // A newsflash with a box is restricted the same way.
    Build(page, false, true);
    EXPECT_TRUE(layout.Restricted());
    EXPECT_EQ(layout.TreatedRows(ch), Rows(height, {{19 * ch - 1, 22 * ch - 1}}));

    // A start box without an end box reaches to the end of the row after it; an end box alone
    // reaches up to the top.
    SetRow(page, 20, "");
    SetRow(page, 21, "\x0B\x0B" "OPEN");
    Build(page, true);
    EXPECT_EQ(layout.TreatedRows(ch), Rows(height, {{20 * ch - 1, 22 * ch - 1}}));
    SetRow(page, 21, "CLOSE\x0A");
    Build(page, true);
    EXPECT_EQ(layout.TreatedRows(ch), Rows(height, {{0, 22 * ch - 1}}));
}

TEST_F(LayoutTest, BoxesOfADoubleHeightPairBelongToTheUpperRow)
{
    constexpr int ch = 20, height = 24 * ch;
    CTeletextPage page = BlankPage();
    // The start box behind the double-height code is first met while the lower row is drawn.
    SetRow(page, 21, "\x0D\x0B\x0BSUBTITLE\x0A\x0A");
    Build(page, true);
    EXPECT_EQ(layout.BoxTop(), 21);
    EXPECT_EQ(layout.BoxBottom(), 22);
    EXPECT_EQ(layout.TreatedRows(ch), Rows(height, {{20 * ch - 1, 22 * ch - 1}}));
}

TEST(TeletextAlphaTest, BlackTranslucentColoursOpaqueUntreatedClear)
{
    constexpr int w = 3, h = 4;
    // Bottom-up: the first line in memory is the bottom row (y = 3).
    std::vector<uint32_t> pixels = {
        0x00000000, 0x00FF0000, 0xFF00FF00, // y 3
        0x00000000, 0x00FF0000, 0xFF00FF00, // y 2
        0x12000000, 0x00FFFFFF, 0x000000FF, // y 1
        0xFF000000, 0xFF123456, 0x00000001, // y 0
    };
    ApplyTeletextAlpha(pixels.data(), w, h, {1, 1, 0}); // row 3 lies beyond the flags: untreated
    const std::vector<uint32_t> expected = {
        0x00000000, 0x00FF0000, 0x0000FF00, //
        0x00000000, 0x00FF0000, 0x0000FF00, //
        kTeletextTranslucentBlack, 0xFFFFFFFF, 0xFF0000FF, //
        kTeletextTranslucentBlack, 0xFF123456, 0xFF000001,
    };
    EXPECT_EQ(pixels, expected);
}
