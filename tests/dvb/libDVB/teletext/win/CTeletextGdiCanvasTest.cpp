// The renderer drawing with GDI: the parts of the bitmap that do not depend on font rasterising
// (backgrounds, mosaics, the alpha bands, where the links lie) are checked pixel by pixel.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dvb/libDVB/teletext/win/CTeletextGdiCanvas.h"
#include "dvb/libDVB/teletext/CTeletextRenderer.h"
#include "dvb/libDVB/teletext/TeletextAlpha.h"
#include "support/PesBuilder.h"
#include "support/TeletextBuilder.h"

using namespace libDVB;

namespace {

constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kBlue = 0xFF0000FFu;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kShadow = kTeletextTranslucentBlack;

struct Reports : CTeletextRenderer::CTeletextRendererCallback {
    void* bitmap = nullptr;
    int32_t right = 0, bottom = 0;
    HRESULT OnPageRendered(void* b, int32_t, int32_t, int32_t r, int32_t bt, uint32_t, bool) override
    {
        bitmap = b;
        right = r;
        bottom = bt;
        return S_OK;
    }
};

struct GdiTest : ::testing::Test {
    GdiTest()
    {
        auto owned = std::make_unique<CTeletextGdiCanvas>();
        canvas = owned.get();
        renderer = std::make_unique<CTeletextRenderer>(&reports, std::move(owned));
        renderer->SetMessages(u"Sorry, the page isn't available", u"Sorry, no teletext available");
        decoder.Start();
        renderer->Attach(&decoder);
        cw = canvas->CellWidth();
        ch = canvas->CellHeight();
    }

    void SendPage(unsigned page, const std::vector<std::pair<unsigned, std::string>>& rows, bool subtitle = false,
                  bool row24 = false)
    {
        test::TeletextHeader h = test::PageHeader(page);
        h.subtitle = subtitle;
        h.erase = true;
        std::vector<std::vector<uint8_t>> units = {test::TeletextUnit(h.magazine, 0, test::HeaderData(h))};
        for (const auto& [row, text] : rows)
            units.push_back(test::TeletextUnit(h.magazine, row, test::RowData(text)));
        if (row24)
            units.push_back(test::TeletextUnit(h.magazine, 27, test::LinksData({}, true)));
        uint8_t continuity = 0;
        for (const auto& pes : {test::TeletextPes(units, 0), test::TeletextPes({}, 0)})
            for (const auto& p : test::PacketizePes(0x100, pes, continuity))
                decoder.OnTeletextPacket(p.data(), 188);
    }

    // The pixel at (x, y), y counted from the top of the bitmap.
    uint32_t Pixel(int x, int y)
    {
        const uint32_t* pixels = canvas->Pixels();
        return pixels[static_cast<size_t>(canvas->Height() - 1 - y) * canvas->Width() + x];
    }
    // Every pixel of the cell (column, page row), or of the rectangle inside it, has the value.
    ::testing::AssertionResult CellIs(int column, int row, uint32_t value, int inset = 0)
    {
        const int x0 = column * cw, y0 = (row - 1) * ch;
        for (int y = y0 + inset; y < y0 + ch - inset; ++y)
            for (int x = x0 + inset; x < x0 + cw - inset; ++x)
                if (Pixel(x, y) != value)
                    return ::testing::AssertionFailure() << std::hex << "pixel " << std::dec << x << "," << y
                                                         << " is " << std::hex << Pixel(x, y);
        return ::testing::AssertionSuccess();
    }

    Reports reports;
    CTeletextDecoder decoder{nullptr};
    CTeletextGdiCanvas* canvas = nullptr;
    std::unique_ptr<CTeletextRenderer> renderer;
    int cw = 0, ch = 0;
};

} // namespace

TEST_F(GdiTest, CourierCellsAndA32BitBitmapOf41By24Cells)
{
    ASSERT_TRUE(canvas->IsReady());
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(ch, MulDiv(30, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);
    EXPECT_GT(cw, 0);
    EXPECT_LT(cw, ch);
    BITMAP bitmap = {};
    ASSERT_EQ(GetObjectW(static_cast<HBITMAP>(canvas->Handle()), sizeof bitmap, &bitmap), (int)sizeof bitmap);
    EXPECT_EQ(bitmap.bmWidth, 41 * cw);
    EXPECT_EQ(bitmap.bmHeight, 24 * ch);
    EXPECT_EQ(bitmap.bmBitsPixel, 32);
    SendPage(100, {{1, "X"}});
    ASSERT_EQ(renderer->Render(100, 0, false), S_OK);
    EXPECT_EQ(reports.bitmap, canvas->Handle());
    EXPECT_EQ(reports.right, 41 * cw);
    EXPECT_EQ(reports.bottom, 24 * ch);
}

TEST_F(GdiTest, BackgroundsFillWholeCells)
{
    // red, new background, white text, black background
    SendPage(100, {{2, "\x01\x1D\x07TEXT  \x1C"}});
    ASSERT_EQ(renderer->Render(100, 0, false), S_OK);
    EXPECT_TRUE(CellIs(0, 2, kShadow));
    EXPECT_TRUE(CellIs(1, 2, kRed));
    EXPECT_TRUE(CellIs(2, 2, kRed));
    EXPECT_TRUE(CellIs(7, 2, kRed));
    EXPECT_TRUE(CellIs(8, 2, kRed));
    EXPECT_TRUE(CellIs(9, 2, kShadow)); // the black-background cell itself
    EXPECT_TRUE(CellIs(10, 1, kShadow));
    // The text is drawn on the red: some pixel of "T" is not red.
    bool glyph = false;
    for (int y = ch; y < 2 * ch; ++y)
        for (int x = 3 * cw; x < 4 * cw; ++x)
            glyph = glyph || Pixel(x, y) != kRed;
    EXPECT_TRUE(glyph);
}

TEST_F(GdiTest, ContiguousAndSeparatedMosaics)
{
    SendPage(100, {{3, "\x17\x7F\x20\x7F"}, {5, "\x17\x1A\x7F\x20\x7F"}});
    ASSERT_EQ(renderer->Render(100, 0, false), S_OK);
    // Contiguous: one solid block; the space after it clears what reached over.
    EXPECT_TRUE(CellIs(1, 3, kWhite));
    EXPECT_TRUE(CellIs(2, 3, kShadow));
    EXPECT_TRUE(CellIs(3, 3, kWhite));

    // Separated: six blocks divided by background lines.
    const int x0 = 2 * cw, y0 = 4 * ch;
    const int w = cw / 2 + 1, h = ch / 3 + 1;
    int lit = 0;
    for (int y = y0; y < y0 + ch; ++y)
        for (int x = x0; x < x0 + cw; ++x)
            lit += Pixel(x, y) == kWhite;
    EXPECT_GT(lit, 0);
    EXPECT_LT(lit, cw * ch * 3 / 4);
    for (unsigned i = 0; i < 6; ++i) {
        const auto r = CTeletextLayout::Sixel(x0, y0, cw, ch, false, i);
        EXPECT_EQ(Pixel((r.left + r.right) / 2, (r.top + r.bottom) / 2), kWhite) << i;
    }
    // The line between the columns and the lines between the rows are background.
    for (int y = y0 + 2; y < y0 + ch - 2; ++y)
        EXPECT_EQ(Pixel(x0 + w - 1, y), kShadow) << y;
    for (int x = x0 + 2; x < x0 + cw - 2; ++x) {
        EXPECT_EQ(Pixel(x, y0 + h - 1), kShadow) << x;
        EXPECT_EQ(Pixel(x, y0 + 2 * h - 1), kShadow) << x;
    }
    // A contiguous block has no such lines.
    EXPECT_EQ(Pixel(cw + w - 1, 2 * ch + ch / 2), kWhite);
    EXPECT_EQ(Pixel(cw + cw / 2, 2 * ch + h - 1), kWhite);
}

TEST_F(GdiTest, DoubleHeightLowerRowTakesTheUpperRowsBackground)
{
    // red background, white double-height text
    SendPage(100, {{10, "\x01\x1D\x07\x0D" "AB"}, {11, "\x04\x1D\x04\x1D\x04\x1D"}});
    ASSERT_EQ(renderer->Render(100, 0, false), S_OK);
    for (int c : {2, 6, 20, 39}) {
        EXPECT_TRUE(CellIs(c, 10, kRed)) << c;
        EXPECT_TRUE(CellIs(c, 11, kRed)) << c;
    }
    EXPECT_TRUE(CellIs(0, 11, kShadow));
    // The upper row's "A" reaches down into the lower row.
    bool glyph = false;
    for (int y = 10 * ch; y < 11 * ch; ++y)
        for (int x = 4 * cw; x < 5 * cw; ++x)
            glyph = glyph || Pixel(x, y) != kRed;
    EXPECT_TRUE(glyph);
}

TEST_F(GdiTest, AlphaBandsOfASubtitlePage)
{
    renderer->SetMode(0, 888);
    SendPage(888, {{5, "\x04\x1D HIDDEN"}, {20, "\x0B\x0B\x04\x1D  SHOWN \x0A\x0A"}}, true, true);
    ASSERT_EQ(renderer->Render(0, 0, true), S_OK);
    const int top = 19 * ch - 1, bottom = 21 * ch - 1, band = 23 * ch - 1;
    for (int y = 0; y < canvas->Height(); ++y) {
        const bool shown = (y >= top && y <= bottom) || y >= band;
        for (int x = 0; x < canvas->Width(); x += 3) {
            const uint32_t p = Pixel(x, y);
            if (!shown) {
                ASSERT_EQ(p >> 24, 0u) << x << "," << y;
            } else {
                ASSERT_TRUE(p == kShadow || (p >> 24) == 0xFF) << x << "," << y;
            }
        }
    }
    // The blue background outside the box is drawn but not shown; inside it is opaque.
    EXPECT_EQ(Pixel(2 * cw + 1, 4 * ch + 1), kBlue & 0x00FFFFFFu);
    EXPECT_TRUE(CellIs(4, 20, kBlue));
    EXPECT_EQ(Pixel(0, top), kShadow);
    EXPECT_EQ(Pixel(0, top - 1), 0u);
    EXPECT_EQ(Pixel(0, band), kShadow);
}

TEST_F(GdiTest, LinkRectanglesCoverTheDrawnNumber)
{
    SendPage(100, {{3, "Page 234"}});
    ASSERT_EQ(renderer->Render(100, 0, false), S_OK);
    const auto links = renderer->GetLinks();
    ASSERT_EQ(links.size(), 1u);
    // Every lit pixel of the number lies inside the link's cells.
    int lit = 0;
    for (int y = 2 * ch; y < 3 * ch; ++y)
        for (int x = 5 * cw; x < 9 * cw; ++x)
            if (Pixel(x, y) != kShadow) {
                ++lit;
                EXPECT_GE(x, links[0].left * cw);
                EXPECT_LT(x, links[0].right * cw);
                EXPECT_GE(y, links[0].top * ch);
                EXPECT_LT(y, links[0].bottom * ch);
            }
    EXPECT_GT(lit, 0);
    EXPECT_TRUE(renderer->HitTest(6.5f / 40, 2.5f / 24));
    EXPECT_EQ(renderer->GetLinkAt(6.5f / 40, 2.5f / 24), TeletextPageKey(234, 0));
}

TEST_F(GdiTest, MessagesAreVisible)
{
    EXPECT_EQ(renderer->Render(555, 0, false), S_FALSE);
    int lit = 0;
    for (int y = 0; y < canvas->Height(); ++y)
        for (int x = 0; x < canvas->Width(); x += 2) {
            const uint32_t p = Pixel(x, y);
            if (p != kShadow) {
                ++lit;
                EXPECT_EQ(p >> 24, 0xFFu);
                EXPECT_GE(y, 11 * ch);
                EXPECT_LT(y, 12 * ch);
            }
        }
    EXPECT_GT(lit, 0);
}
