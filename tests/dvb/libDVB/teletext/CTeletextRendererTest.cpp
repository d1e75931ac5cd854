#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "dvb/libDVB/teletext/CTeletextRenderer.h"
#include "support/PesBuilder.h"
#include "support/TeletextBuilder.h"
#include "support/TeletextRecordingCanvas.h"

using namespace libDVB;
using test::TeletextRecordingCanvas;
using Kind = TeletextRecordingCanvas::EKind;

namespace {

constexpr uint16_t kPid = 0x0300;
constexpr int kCellWidth = 12;
constexpr int kCellHeight = 20;

struct Reports : CTeletextRenderer::CTeletextRendererCallback {
    struct Report {
        void* bitmap;
        int32_t left, top, right, bottom;
        uint32_t page;
        bool transparent;
    };
    std::vector<Report> reports;
    HRESULT OnPageRendered(void* bitmap, int32_t l, int32_t t, int32_t r, int32_t b, uint32_t page,
                           bool transparent) override
    {
        reports.push_back({bitmap, l, t, r, b, page, transparent});
        return S_OK;
    }
};

struct Pages : CTeletextDecoder::CTeletextDecoderCallback {
    std::vector<std::tuple<uint32_t, bool>> calls; // key, drop
    HRESULT OnTeletextPage(CTeletextDecoder*, uint32_t key, bool, bool drop) override
    {
        calls.emplace_back(key, drop);
        return S_OK;
    }
};

struct RendererTest : ::testing::Test {
    RendererTest()
    {
        auto owned = std::make_unique<TeletextRecordingCanvas>(kCellWidth, kCellHeight);
        canvas = owned.get();
        renderer = std::make_unique<CTeletextRenderer>(&reports, std::move(owned));
        renderer->SetMessages(u"Sorry, the page isn't available", u"Sorry, no teletext available");
        decoder.Start();
    }

    // One page sent packet by packet: header, rows, optionally the navigation packet.
    void SendPage(unsigned page, unsigned subPage, const std::vector<std::pair<unsigned, std::string>>& rows,
                  bool subtitle = false, const std::vector<test::TeletextLink>* links = nullptr, bool row24 = false)
    {
        test::TeletextHeader h = test::PageHeader(page, subPage);
        h.subtitle = subtitle;
        h.erase = true;
        std::vector<std::vector<uint8_t>> units = {test::TeletextUnit(h.magazine, 0, test::HeaderData(h))};
        for (const auto& [row, text] : rows)
            units.push_back(test::TeletextUnit(h.magazine, row, test::RowData(text)));
        if (links)
            units.push_back(test::TeletextUnit(h.magazine, 27, test::LinksData(*links, row24)));
        // The page is complete when the next header of its magazine arrives.
        test::TeletextHeader next = test::PageHeader(h.magazine * 100 + 99);
        units.push_back(test::TeletextUnit(next.magazine, 0, test::HeaderData(next)));
        Feed(test::TeletextPes(units, 90000));
        Feed(test::TeletextPes({}, 90000));
    }
    void Feed(const std::vector<uint8_t>& pes)
    {
        for (const auto& p : test::PacketizePes(kPid, pes, continuity))
            decoder.OnTeletextPacket(p.data(), 188);
    }
    // The centre of cell (column, page row) as fractions of the bitmap the way the hit test reads them.
    static float X(int column) { return (column + 0.5f) / 40.0f; }
    static float Y(int row) { return (row - 1 + 0.5f) / 24.0f; }
    std::vector<uint16_t> History() { return renderer->GetHistory(); }

    Reports reports;
    Pages pages;
    CTeletextDecoder decoder{&pages};
    TeletextRecordingCanvas* canvas = nullptr;
    std::unique_ptr<CTeletextRenderer> renderer;
    uint8_t continuity = 0;
};

} // namespace

TEST_F(RendererTest, WithoutADecoderTheNoTeletextMessageIsShown)
{
    EXPECT_EQ(renderer->Render(100, 0, false), E_FAIL);
    ASSERT_EQ(reports.reports.size(), 1u);
    const auto& r = reports.reports[0];
    EXPECT_EQ(r.bitmap, canvas);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 41 * kCellWidth);
    EXPECT_EQ(r.bottom, 24 * kCellHeight);
    EXPECT_FALSE(r.transparent);
    const auto texts = canvas->Of(Kind::kText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, u"Sorry, no teletext available");
    // The message is visible: every row is given its alpha.
    EXPECT_EQ(canvas->treated, std::vector<uint8_t>(24 * kCellHeight, 1));
    EXPECT_EQ(canvas->ops.front().kind, Kind::kClear);
    EXPECT_EQ(renderer->GetFirstSubPage(100), -1);
    EXPECT_EQ(renderer->GetNextPage(), 0u);
    EXPECT_EQ(renderer->GetPreviousPage(), 0u);
    EXPECT_EQ(renderer->GetBackPage(), 0u);
}

TEST_F(RendererTest, AttachStartsAtTheInitialPageAndTellsTheDecoderTheViewState)
{
    decoder.SetStreamInfo(0, 0);
    renderer->Attach(&decoder);
    EXPECT_EQ(renderer->GetPageOnScreen(), TeletextPageKey(100, 0));
    decoder.SetStreamInfo(900, 0);
    renderer->Attach(&decoder);
    EXPECT_EQ(renderer->GetPageOnScreen(), TeletextPageKey(100, 0));
    decoder.SetStreamInfo(888, 0);
    renderer->Attach(&decoder);
    EXPECT_EQ(renderer->GetPageOnScreen(), TeletextPageKey(888, 0));
    EXPECT_EQ(decoder.GetPageOnScreen(), TeletextPageKey(888, 0));

    // The view is opened, then the service changes: the new decoder reports its page on screen.
    renderer->SetMode(1, -1);
    CTeletextDecoder other(&pages);
    other.Start();
    other.SetStreamInfo(300, 0);
    renderer->Attach(&other);
    test::TeletextHeader h = test::PageHeader(300);
    test::TeletextHeader next = test::PageHeader(399);
    const auto pes = test::TeletextPes({test::TeletextUnit(3, 0, test::HeaderData(h)),
                                        test::TeletextUnit(3, 0, test::HeaderData(next))},
                                       0);
    for (const auto& p : test::PacketizePes(kPid, pes, continuity))
        other.OnTeletextPacket(p.data(), 188);
    for (const auto& p : test::PacketizePes(kPid, test::TeletextPes({}, 0), continuity))
        other.OnTeletextPacket(p.data(), 188);
    ASSERT_EQ(pages.calls.size(), 1u);
    EXPECT_EQ(pages.calls[0], std::make_tuple(TeletextPageKey(300, 0), false));
}

TEST_F(RendererTest, ModeHoldAndOverlayReachTheDecoder)
{
    EXPECT_EQ(renderer->SetMode(1, -1), S_FALSE); // nothing to tell without a decoder
    renderer->Attach(&decoder);
    renderer->Render(150, 0, false);
    SendPage(150, 1, {{1, "ONE"}});
    EXPECT_TRUE(pages.calls.empty()); // the view is not shown
    renderer->SetMode(1, 801);
    SendPage(150, 2, {{1, "TWO"}});
    ASSERT_EQ(pages.calls.size(), 1u);
    EXPECT_EQ(pages.calls[0], std::make_tuple(TeletextPageKey(150, 2), false));
    // Held: only the sub-page on screen is reported.
    renderer->ToggleHold();
    EXPECT_TRUE(renderer->IsHeld());
    SendPage(150, 1, {{1, "ONE"}});
    SendPage(150, 2, {{1, "TWO"}});
    ASSERT_EQ(pages.calls.size(), 2u);
    EXPECT_EQ(pages.calls[1], std::make_tuple(TeletextPageKey(150, 2), false));
    // The overlay page arrives with the drop flag.
    SendPage(801, 0, {{20, "SUBTITLE"}}, true);
    ASSERT_EQ(pages.calls.size(), 3u);
    EXPECT_EQ(pages.calls[2], std::make_tuple(801u, true));
    renderer->ToggleHold();
    EXPECT_FALSE(renderer->IsHeld());
}

TEST_F(RendererTest, PageNotAvailableThenRenderedOnArrival)
{
    renderer->Attach(&decoder);
    renderer->SetMode(1, -1);
    EXPECT_EQ(renderer->Render(123, 0, false), S_FALSE);
    ASSERT_EQ(canvas->Of(Kind::kText).size(), 1u);
    EXPECT_EQ(canvas->Of(Kind::kText)[0].text, u"Sorry, the page isn't available");
    EXPECT_EQ(reports.reports.back().page, 123u);
    EXPECT_EQ(renderer->GetPageOnScreen(), TeletextPageKey(123, 0));
    // The page arrives later: the decoder reports it and the engine renders the key it gives.
    SendPage(123, 3, {{2, "HELLO"}});
    ASSERT_EQ(pages.calls.size(), 1u);
    const uint32_t key = std::get<0>(pages.calls[0]);
    EXPECT_EQ(renderer->Render(TeletextKeyPage(key), TeletextKeySubPage(key), false), S_OK);
    EXPECT_TRUE(canvas->Of(Kind::kText).empty());
    EXPECT_EQ(renderer->GetPageOnScreen(), TeletextPageKey(123, 3));
    // Sub-page 0 or less means the first stored one.
    SendPage(123, 1, {{2, "FIRST"}});
    renderer->Render(123, 0, false);
    EXPECT_EQ(renderer->GetPageOnScreen(), TeletextPageKey(123, 1));
    renderer->Render(0, -1, false); // page 0: the page on screen
    EXPECT_EQ(renderer->GetPageOnScreen(), TeletextPageKey(123, 1));
}

TEST_F(RendererTest, DrawsEveryCellAtItsPlaceWithMosaicsAsSixels)
{
    renderer->Attach(&decoder);
    SendPage(100, 0, {{1, "A"}, {2, "\x11\x7F\x1A\x7F"}});
    ASSERT_EQ(renderer->Render(100, 0, false), S_OK);
    const auto chars = canvas->Of(Kind::kCharacter);
    ASSERT_FALSE(chars.empty());
    EXPECT_EQ(chars[0].character, u'A');
    EXPECT_EQ(chars[0].left, 0);
    EXPECT_EQ(chars[0].top, 0);
    EXPECT_EQ(chars[0].foreground, 7);
    // Row 2, column 1: the cell filled with its background, then six contiguous sixels.
    const auto fills = canvas->Of(Kind::kFill);
    ASSERT_EQ(fills.size(), 38u); // the spaces behind a mosaic colour are mosaics too
    EXPECT_EQ(fills[0].left, kCellWidth);
    EXPECT_EQ(fills[0].top, kCellHeight);
    EXPECT_EQ(fills[0].right, 2 * kCellWidth);
    EXPECT_EQ(fills[0].bottom, 2 * kCellHeight);
    EXPECT_EQ(fills[0].foreground, 0);
    const auto sixels = canvas->Of(Kind::kSixel);
    ASSERT_EQ(sixels.size(), 12u);
    const int w = kCellWidth / 2 + 1, h = kCellHeight / 3 + 1;
    for (unsigned i = 0; i < 6; ++i) {
        EXPECT_EQ(sixels[i].left, kCellWidth + static_cast<int>(i % 2) * w) << i;
        EXPECT_EQ(sixels[i].top, kCellHeight + static_cast<int>(i / 2) * h) << i;
        EXPECT_EQ(sixels[i].right, kCellWidth + static_cast<int>(i % 2 + 1) * w) << i;
        EXPECT_EQ(sixels[i].bottom, kCellHeight + static_cast<int>(i / 2 + 1) * h) << i;
        EXPECT_EQ(sixels[i].foreground, 1);
        EXPECT_FALSE(sixels[i].separated);
        EXPECT_TRUE(sixels[6 + i].separated);
        EXPECT_EQ(sixels[6 + i].left, 3 * kCellWidth + static_cast<int>(i % 2) * w) << i;
    }
    // 23 rows of 40 cells, the alpha pass last.
    EXPECT_EQ(chars.size() + fills.size(), 23u * 40);
    EXPECT_EQ(canvas->ops.back().kind, Kind::kAlpha);
}

TEST_F(RendererTest, PageNumberEntry)
{
    renderer->Attach(&decoder);
    SendPage(100, 4, {{1, "INDEX"}});
    std::u16string text = u"unchanged";
    EXPECT_EQ(renderer->EnterDigit(9, &text), S_OK);
    EXPECT_EQ(text, u"");
    EXPECT_EQ(renderer->EnterDigit(0, &text), S_OK);
    EXPECT_EQ(text, u"");
    EXPECT_TRUE(reports.reports.empty());
    renderer->EnterDigit(1, &text);
    EXPECT_EQ(text, u"1--");
    renderer->EnterDigit(0, &text);
    EXPECT_EQ(text, u"10-");
    renderer->EnterDigit(0, &text);
    EXPECT_EQ(text, u"");
    ASSERT_EQ(reports.reports.size(), 1u);
    EXPECT_EQ(reports.reports[0].page, 100u);
    EXPECT_EQ(renderer->GetPageOnScreen(), TeletextPageKey(100, 4)); // its first sub-page
    // Later digits may be 0 or 9; the entry then starts again.
    renderer->EnterDigit(8, &text);
    renderer->EnterDigit(9, &text);
    EXPECT_EQ(text, u"89-");
    renderer->EnterDigit(9, &text);
    EXPECT_EQ(renderer->GetPageOnScreen(), TeletextPageKey(899, 0));
    EXPECT_EQ(reports.reports.back().page, 899u);
    // A half-typed number is forgotten.
    renderer->EnterDigit(2, &text);
    renderer->ClearPageEntry();
    renderer->EnterDigit(3, &text);
    EXPECT_EQ(text, u"3--");
    EXPECT_EQ(renderer->EnterDigit(10, &text), E_INVALIDARG);
    EXPECT_EQ(renderer->EnterDigit(1, nullptr), E_POINTER);
}

TEST_F(RendererTest, HistoryGoesBackAndForgetsBeyondThirty)
{
    renderer->Attach(&decoder); // page on screen 100
    renderer->Render(100, 0, false);
    EXPECT_TRUE(History().empty()); // drawing the page on screen is no visit
    renderer->Render(200, 0, false);
    EXPECT_EQ(History(), (std::vector<uint16_t>{100}));
    renderer->Render(300, 0, false);
    EXPECT_EQ(History(), (std::vector<uint16_t>{200, 100}));
    // Going to the most recent page is going back.
    EXPECT_EQ(renderer->GetBackPage(), 200u);
    renderer->Render(200, 0, false);
    EXPECT_EQ(History(), (std::vector<uint16_t>{100}));
    // 200 -> 250 -> 200 leaves 200's history as it was.
    renderer->Render(250, 0, false);
    EXPECT_EQ(History(), (std::vector<uint16_t>{200, 100}));
    renderer->Render(200, 0, false);
    EXPECT_EQ(History(), (std::vector<uint16_t>{100}));
    renderer->Render(100, 0, false);
    EXPECT_TRUE(History().empty());

    // 31 further pages: the oldest entries go.
    for (uint16_t p = 101; p <= 131; ++p)
        renderer->Render(p, 0, false);
    const std::vector<uint16_t> h = History();
    ASSERT_EQ(h.size(), CTeletextRenderer::kHistoryLimit);
    EXPECT_EQ(h.front(), 130);
    EXPECT_EQ(h.back(), 101); // 100 was dropped by the 31st
    // An overlay leaves history and page on screen alone.
    renderer->SetMode(0, 888);
    renderer->Render(0, 0, true);
    EXPECT_EQ(History(), h);
    EXPECT_EQ(renderer->GetPageOnScreen(), TeletextPageKey(131, 0));
    EXPECT_TRUE(reports.reports.back().transparent);
    EXPECT_EQ(reports.reports.back().page, 888u);
}

TEST_F(RendererTest, RedrawingThePageOnScreenKeepsBackWorking)
{
    renderer->Attach(&decoder);
    SendPage(100, 1, {{1, "ONE"}});
    SendPage(100, 2, {{1, "TWO"}});
    renderer->Render(100, 0, false);
    renderer->Render(200, 0, false);
    // The page on screen comes in again and again, with its sub-pages.
    renderer->Render(200, 0, false);
    renderer->Render(200, 0, false);
    EXPECT_EQ(renderer->GetBackPage(), 100u);
    renderer->Render(100, 1, false);
    renderer->Render(100, 2, false);
    EXPECT_TRUE(History().empty());
    EXPECT_EQ(renderer->GetBackPage(), 0u);
}

TEST_F(RendererTest, LinksAreHitAndFollowedToTheFirstSubPage)
{
    renderer->Attach(&decoder);
    SendPage(234, 5, {{1, "X"}});
    SendPage(100, 0, {{3, "Page 234 and 1234 or 099"}});
    renderer->Render(100, 0, false);
    // "Page 234": columns 4 to 7 of row 3.
    for (int c = 4; c <= 7; ++c) {
        EXPECT_TRUE(renderer->HitTest(X(c), Y(3))) << c;
        EXPECT_EQ(renderer->GetLinkAt(X(c), Y(3)), TeletextPageKey(234, 5)) << c;
    }
    EXPECT_FALSE(renderer->HitTest(X(3), Y(3)));
    EXPECT_FALSE(renderer->HitTest(X(8), Y(3)));
    EXPECT_FALSE(renderer->HitTest(X(5), Y(2)));
    EXPECT_FALSE(renderer->HitTest(X(5), Y(4)));
    for (int c = 12; c <= 24; ++c)
        EXPECT_FALSE(renderer->HitTest(X(c), Y(3))) << c; // 1234 and 099
    EXPECT_EQ(renderer->GetLinkAt(X(20), Y(3)), 0u);
    EXPECT_FALSE(renderer->HitTest(-1.0f, -1.0f));
    EXPECT_FALSE(renderer->HitTest(std::numeric_limits<float>::quiet_NaN(), 0.5f));

    // A page not received yet is a link with sub-page 0.
    SendPage(100, 0, {{3, "see 555"}});
    renderer->Render(100, 0, false);
    EXPECT_EQ(renderer->GetLinkAt(X(5), Y(3)), TeletextPageKey(555, 0));
    // The page copy keeps its rectangles.
    ASSERT_EQ(renderer->GetLinks().size(), 1u);
    EXPECT_EQ(renderer->GetLinks()[0].page, 555);

    // An overlay does not replace the page's links; a missing page leaves none.
    renderer->SetMode(0, 888);
    SendPage(888, 0, {{20, "\x0B\x0B" "at 777\x0A\x0A"}}, true);
    renderer->Render(0, 0, true);
    EXPECT_EQ(renderer->GetLinkAt(X(5), Y(3)), TeletextPageKey(555, 0));
    renderer->Render(456, 0, false);
    EXPECT_FALSE(renderer->HitTest(X(5), Y(3)));
}

TEST_F(RendererTest, NavigationRowLinksAndItsFlag)
{
    renderer->Attach(&decoder);
    std::vector<test::TeletextLink> links(2);
    links[0].magazineBits = 0; // same magazine: 1 XOR 0
    links[0].tens = 2;
    links[0].units = 0;
    links[1].magazineBits = 1 ^ 4; // magazine 4
    links[1].tens = 0;
    links[1].units = 5;
    SendPage(100, 0, {{24, "\x01" "Red \x02Green"}}, false, &links, true);
    renderer->Render(100, 0, false);
    EXPECT_EQ(renderer->GetLinkAt(X(2), Y(24)), TeletextPageKey(120, 0));
    EXPECT_EQ(renderer->GetLinkAt(X(10), Y(24)), TeletextPageKey(405, 0));
    // Row 24 drawn and given alpha.
    EXPECT_EQ(canvas->treated.back(), 1);
    bool drewRow24 = false;
    for (const auto& op : canvas->Of(Kind::kCharacter))
        drewRow24 = drewRow24 || (op.top == 23 * kCellHeight && op.character == u'G');
    EXPECT_TRUE(drewRow24);

    // The same page without the row-24 flag never shows row 24.
    SendPage(100, 0, {{24, "\x01" "Red \x02Green"}}, false, &links, false);
    renderer->Render(100, 0, false);
    for (const auto& op : canvas->Of(Kind::kCharacter))
        EXPECT_LT(op.top, 23 * kCellHeight);
    EXPECT_EQ(canvas->treated.back(), 0);
    EXPECT_FALSE(renderer->HitTest(X(2), Y(24)));
}

TEST_F(RendererTest, SubtitlePagesAreTransparentExceptTheirBoxes)
{
    renderer->Attach(&decoder);
    renderer->SetMode(0, 888);
    SendPage(888, 0, {{22, "HIDDEN"}}, true);
    renderer->Render(0, 0, true);
    EXPECT_EQ(canvas->treated, std::vector<uint8_t>(24 * kCellHeight, 0));
    SendPage(888, 0, {{22, "\x0B\x0B" "SHOWN\x0A\x0A"}}, true);
    renderer->Render(0, 0, true);
    std::vector<uint8_t> expected(24 * kCellHeight, 0);
    for (int y = 21 * kCellHeight - 1; y <= 23 * kCellHeight - 1; ++y)
        expected[static_cast<size_t>(y)] = 1;
    EXPECT_EQ(canvas->treated, expected);
}
