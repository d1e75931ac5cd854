#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "dvb/libDVB/teletext/CTeletextDecoder.h"
#include "support/PesBuilder.h"
#include "support/TeletextBuilder.h"

using namespace libDVB;
using test::TeletextUnit;

namespace {

constexpr uint16_t kPid = 0x0234;

struct Recorder : CTeletextDecoder::CTeletextDecoderCallback {
    std::vector<std::tuple<uint32_t, bool, bool>> calls;
    HRESULT OnTeletextPage(CTeletextDecoder*, uint32_t key, bool post, bool drop) override
    {
        calls.emplace_back(key, post, drop);
        return S_OK;
    }
};

std::vector<uint8_t> Header(unsigned page, unsigned subPage = 0, const std::string& text = "HEADER")
{
    test::TeletextHeader h = test::PageHeader(page, subPage);
    h.text = text;
    return TeletextUnit(h.magazine, 0, test::HeaderData(h));
}

std::vector<uint8_t> Header(const test::TeletextHeader& h) { return TeletextUnit(h.magazine, 0, test::HeaderData(h)); }

std::vector<uint8_t> Row(unsigned magazine, unsigned row, const std::string& text)
{
    return TeletextUnit(magazine, row, test::RowData(text));
}

class TeletextDecoderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(decoder.Start(), S_OK); }

    void FeedPes(const std::vector<uint8_t>& pes)
    {
        for (const auto& p : test::PacketizePes(kPid, pes, continuity))
            decoder.OnTeletextPacket(p.data(), 188);
    }
    // A PES is decoded when the next one starts: send the units, then an empty PES behind them.
    void Send(const std::vector<std::vector<uint8_t>>& units)
    {
        FeedPes(test::TeletextPes(units, 90000));
        FeedPes(test::TeletextPes({}, 90000));
    }
    std::string RowText(uint16_t page, uint16_t subPage, unsigned row)
    {
        auto copy = decoder.GetPageCopy(page, subPage, nullptr, nullptr, true, nullptr);
        if (!copy)
            return "<none>";
        std::string s;
        for (unsigned c = 0; c < 40; ++c)
            s += static_cast<char>(copy->Cell(row, c) & 0x7F);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
            s.pop_back();
        return s;
    }

    Recorder recorder;
    CTeletextDecoder decoder{&recorder};
    uint8_t continuity = 0;
};

} // namespace

TEST_F(TeletextDecoderTest, FilesPagesByMagazineTensAndUnits)
{
    test::TeletextHeader h = test::PageHeader(823);
    h.magazine = 8; // sent as magazine 0
    Send({Header(h), Row(8, 1, "EIGHT TWO THREE"), Row(8, 24, "BOTTOM")});
    EXPECT_TRUE(decoder.HasPage(823));
    EXPECT_EQ(decoder.GetPageCount(), 1u);
    EXPECT_EQ(RowText(823, 0, 1), "EIGHT TWO THREE");
    EXPECT_EQ(RowText(823, 0, 24), "BOTTOM");
    // Row 0: the coded address bytes, then the header text.
    auto copy = decoder.GetPageCopy(823, 0, nullptr, nullptr, true, nullptr);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->Cell(0, 0), test::Hamming84(3));
    EXPECT_EQ(copy->Cell(0, 8) & 0x7F, ' ');
    EXPECT_EQ(copy->pageNumber, 823);
}

TEST_F(TeletextDecoderTest, SubPagesAreDecimalAndEightyOrMoreIsDropped)
{
    Send({Header(150, 12), Row(1, 1, "TWELVE")});
    EXPECT_EQ(RowText(150, 12, 1), "TWELVE");
    EXPECT_EQ(decoder.GetFirstSubPage(150), 12);

    // S4 S3 = 0, 8: the header and the rows behind it go nowhere.
    test::TeletextHeader h = test::PageHeader(150, 12);
    h.s3 = 8;
    Send({Header(150, 12), Header(h), Row(1, 1, "LOST")});
    EXPECT_EQ(RowText(150, 12, 1), "TWELVE");
    EXPECT_EQ(decoder.GetFirstSubPage(150), 12);
    EXPECT_EQ(decoder.GetPageCount(), 1u);
}

TEST_F(TeletextDecoderTest, HexadecimalPageNumbersAreNotFiledUnderDecimalOnes)
{
    Send({Header(130), Row(1, 1, "PAGE 130")});
    test::TeletextHeader hex = test::PageHeader(120);
    hex.units = 0xA; // page 12A, which tens * 10 + units would make 130
    test::TeletextHeader hexSub = test::PageHeader(140);
    hexSub.s1 = 0xC; // sub-code 000C
    Send({Header(hex), Row(1, 1, "NOT A PAGE"), Header(hexSub), Row(1, 1, "NOR THIS")});
    EXPECT_EQ(RowText(130, 0, 1), "PAGE 130");
    EXPECT_FALSE(decoder.HasPage(140));
    EXPECT_EQ(decoder.GetPageCount(), 1u);
}

TEST_F(TeletextDecoderTest, ParityErrorsKeepThePreviousCell)
{
    Send({Header(100), Row(1, 3, "HELLO")});
    test::TeletextData bad = test::RowData("JXLLY");
    bad[1] ^= 0x01; // a flipped bit: parity fails, the cell keeps its 'E'
    Send({Header(100), TeletextUnit(1, 3, bad)});
    EXPECT_EQ(RowText(100, 0, 3), "JELLY");
}

TEST_F(TeletextDecoderTest, EraseBitClearsThePageBeforeItsRows)
{
    Send({Header(200), Row(2, 1, "FIRST"), Row(2, 2, "SECOND")});
    Send({Header(200), Row(2, 1, "AGAIN")});
    EXPECT_EQ(RowText(200, 0, 2), "SECOND"); // without C4 old rows remain
    test::TeletextHeader h = test::PageHeader(200);
    h.erase = true;
    Send({Header(h), Row(2, 1, "FRESH")});
    EXPECT_EQ(RowText(200, 0, 1), "FRESH");
    auto copy = decoder.GetPageCopy(200, 0, nullptr, nullptr, true, nullptr);
    ASSERT_TRUE(copy);
    for (unsigned c = 0; c < 40; ++c)
        EXPECT_EQ(copy->Cell(2, c), 0) << c;
}

TEST_F(TeletextDecoderTest, InterleavedMagazinesKeepTheirOwnRows)
{
    // Magazines are sent in parallel: rows belong to the last header of their own magazine.
    Send({Header(100), Header(200), Row(1, 1, "MAGAZINE ONE"), Row(2, 1, "MAGAZINE TWO"), Header(300),
          Row(1, 2, "ONE AGAIN"), Row(3, 1, "THREE"), Row(2, 2, "TWO AGAIN")});
    EXPECT_EQ(RowText(100, 0, 1), "MAGAZINE ONE");
    EXPECT_EQ(RowText(100, 0, 2), "ONE AGAIN");
    EXPECT_EQ(RowText(200, 0, 1), "MAGAZINE TWO");
    EXPECT_EQ(RowText(200, 0, 2), "TWO AGAIN");
    EXPECT_EQ(RowText(300, 0, 1), "THREE");
    EXPECT_EQ(RowText(300, 0, 2), "");
}

TEST_F(TeletextDecoderTest, SerialHeaderEndsThePagesOfEveryMagazine)
{
    test::TeletextHeader one = test::PageHeader(100);
    one.serial = true;
    test::TeletextHeader two = test::PageHeader(200);
    two.serial = true;
    decoder.SetViewState(true, false, 0);
    decoder.SetPageOnScreen(TeletextPageKey(100, 0));
    Send({Header(one), Row(1, 1, "ONE"), Header(two), Row(1, 1, "STRAY"), Row(2, 1, "TWO")});
    EXPECT_EQ(RowText(100, 0, 1), "ONE");
    EXPECT_EQ(RowText(200, 0, 1), "TWO");
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0], std::make_tuple(TeletextPageKey(100, 0), true, false));
}

TEST_F(TeletextDecoderTest, ReportsThePageOnScreenAndHonoursTheHold)
{
    decoder.SetPageOnScreen(TeletextPageKey(100, 1));
    Send({Header(100, 1), Header(100, 2), Header(199)});
    EXPECT_TRUE(recorder.calls.empty()); // teletext not shown

    decoder.SetViewState(true, false, 0);
    Send({Header(100, 1), Header(100, 2), Header(199)});
    ASSERT_EQ(recorder.calls.size(), 2u);
    EXPECT_EQ(recorder.calls[0], std::make_tuple(TeletextPageKey(100, 1), true, false));
    EXPECT_EQ(recorder.calls[1], std::make_tuple(TeletextPageKey(100, 2), true, false));
    EXPECT_EQ(decoder.GetPageOnScreen(), TeletextPageKey(100, 2));

    recorder.calls.clear();
    decoder.SetViewState(true, true, 0);
    decoder.SetPageOnScreen(TeletextPageKey(100, 1));
    Send({Header(100, 1), Header(100, 2), Header(199)});
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0], std::make_tuple(TeletextPageKey(100, 1), true, false));
    EXPECT_EQ(decoder.GetPageOnScreen(), TeletextPageKey(100, 1));
}

TEST_F(TeletextDecoderTest, ReportsTheOverlayPageWithTheDropFlag)
{
    decoder.SetViewState(false, false, 888);
    test::TeletextHeader h = test::PageHeader(888);
    h.subtitle = true;
    Send({Header(h), Row(8, 20, "A SUBTITLE"), Header(801)});
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0], std::make_tuple(888u, true, true));
    bool subtitle = false, newsflash = true;
    uint8_t national = 0xFF;
    auto copy = decoder.GetPageCopy(888, 0, &newsflash, &subtitle, true, &national);
    ASSERT_TRUE(copy);
    EXPECT_TRUE(subtitle);
    EXPECT_FALSE(newsflash);
    EXPECT_EQ(national, 0);
}

TEST_F(TeletextDecoderTest, NavigationPacketGivesTheLinkedPages)
{
    test::TeletextLink red, green, end, toEight;
    red.magazineBits = 0; // 0 ^ magazine 1 = 1
    red.tens = 0, red.units = 0;
    green.magazineBits = 3; // 3 ^ 1 = 2
    green.tens = 0, green.units = 0;
    toEight.magazineBits = 1; // 1 ^ 1 = 0, which means 8
    toEight.tens = 9, toEight.units = 9;
    Send({Header(100), TeletextUnit(1, 27, test::LinksData({red, green, end, toEight}, true))});
    auto copy = decoder.GetPageCopy(100, 0, nullptr, nullptr, true, nullptr);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->linkedPages, (std::vector<uint16_t>{100, 200}));
    EXPECT_EQ(copy->row24, 1);

    Send({Header(100), TeletextUnit(1, 27, test::LinksData({toEight, red, green, red}, false))});
    copy = decoder.GetPageCopy(100, 0, nullptr, nullptr, true, nullptr);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->linkedPages, (std::vector<uint16_t>{899, 100, 200, 100}));
    EXPECT_EQ(copy->row24, 0);

    // A header clears the row-24 flag; a packet 27 without a page being received is dropped.
    Send({Header(100), Header(777), TeletextUnit(2, 27, test::LinksData({red}, true))});
    copy = decoder.GetPageCopy(100, 0, nullptr, nullptr, true, nullptr);
    EXPECT_EQ(copy->row24, 0);
}

TEST_F(TeletextDecoderTest, PreviousAndNextWalkPagesAndSubPages)
{
    Send({Header(100), Header(101, 2), Header(101, 1), Header(200)});
    EXPECT_EQ(decoder.GetFirstSubPage(101), 1);
    EXPECT_EQ(decoder.GetFirstSubPage(100), 0);
    EXPECT_EQ(decoder.GetFirstSubPage(102), -1);

    decoder.SetPageOnScreen(TeletextPageKey(101, 1));
    EXPECT_EQ(decoder.GetPreviousPage(), TeletextPageKey(100, 0));
    EXPECT_EQ(decoder.GetNextPage(), TeletextPageKey(101, 2));
    decoder.SetPageOnScreen(TeletextPageKey(101, 2));
    EXPECT_EQ(decoder.GetPreviousPage(), TeletextPageKey(101, 1));
    EXPECT_EQ(decoder.GetNextPage(), TeletextPageKey(200, 0));
    decoder.SetPageOnScreen(TeletextPageKey(200, 0));
    EXPECT_EQ(decoder.GetPreviousPage(), TeletextPageKey(101, 2));
    EXPECT_EQ(decoder.GetNextPage(), TeletextPageKey(200, 0)); // the last page stays
    decoder.SetPageOnScreen(TeletextPageKey(100, 0));
    EXPECT_EQ(decoder.GetPreviousPage(), TeletextPageKey(100, 0)); // the first page stays

    decoder.SetPageOnScreen(TeletextPageKey(150, 0)); // not stored
    EXPECT_EQ(decoder.GetPreviousPage(), TeletextPageKey(101, 2));
    EXPECT_EQ(decoder.GetNextPage(), TeletextPageKey(200, 0));
    decoder.SetPageOnScreen(TeletextPageKey(101, 7)); // page stored, sub-page not
    EXPECT_EQ(decoder.GetPreviousPage(), TeletextPageKey(100, 0));
    EXPECT_EQ(decoder.GetNextPage(), TeletextPageKey(200, 0));
    decoder.SetPageOnScreen(TeletextPageKey(99, 0));
    EXPECT_EQ(decoder.GetPreviousPage(), 0u);
    decoder.SetPageOnScreen(TeletextPageKey(300, 0));
    EXPECT_EQ(decoder.GetNextPage(), 0u);
}

TEST_F(TeletextDecoderTest, PageCopyOfTheInitialPageMovesThePageOnScreen)
{
    test::TeletextHeader h = test::PageHeader(300);
    h.newsflash = true;
    h.national = 5;
    Send({Header(h), Row(3, 1, "INITIAL")});
    decoder.SetStreamInfo(300, 9);
    EXPECT_EQ(decoder.GetLanguageNumber(), 9u);

    bool newsflash = false, subtitle = true;
    uint8_t national = 0;
    auto copy = decoder.GetPageCopy(0, 0, &newsflash, &subtitle, false, &national);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->pageNumber, 300);
    EXPECT_TRUE(newsflash);
    EXPECT_FALSE(subtitle);
    EXPECT_EQ(national, 5);
    EXPECT_EQ(decoder.GetPageOnScreen(), TeletextPageKey(300, 0));

    // The copy is deep: changing it leaves the store alone.
    copy->cells[40] = 'Z';
    copy->linkedPages.push_back(123);
    EXPECT_EQ(RowText(300, 0, 1), "INITIAL");

    // A missing page still becomes the page on screen, unless the caller keeps it.
    EXPECT_FALSE(decoder.GetPageCopy(400, 0, nullptr, nullptr, false, nullptr));
    EXPECT_EQ(decoder.GetPageOnScreen(), TeletextPageKey(400, 0));
    EXPECT_TRUE(decoder.GetPageCopy(300, 0, nullptr, nullptr, true, nullptr));
    EXPECT_EQ(decoder.GetPageOnScreen(), TeletextPageKey(400, 0));
}

TEST_F(TeletextDecoderTest, StopForgetsEverythingAndStoppedDecoderTakesNothing)
{
    Send({Header(100), Row(1, 1, "X")});
    decoder.SetStreamInfo(100, 9);
    EXPECT_EQ(decoder.Stop(), S_OK);
    EXPECT_EQ(decoder.Stop(), S_FALSE);
    EXPECT_FALSE(decoder.HasPage(100));
    EXPECT_EQ(decoder.GetInitialPage(), 0u);
    EXPECT_EQ(decoder.GetPageOnScreen(), 0u);

    uint8_t cc = 0;
    const auto packets = test::PacketizePes(kPid, test::TeletextPes({Header(100)}, 0), cc);
    EXPECT_EQ(decoder.OnTeletextPacket(packets[0].data(), 188), S_FALSE);
    EXPECT_EQ(decoder.OnTeletextPacket(nullptr, 188), E_POINTER);
    EXPECT_EQ(decoder.Start(), S_OK);
    EXPECT_EQ(decoder.Start(), S_OK);
    EXPECT_EQ(decoder.OnTeletextPacket(packets[0].data(), 100), E_INVALIDARG);
    Send({Header(100)});
    EXPECT_TRUE(decoder.HasPage(100));
}

TEST_F(TeletextDecoderTest, GathersPesOverPacketsWithAdaptationFields)
{
    const auto pes = test::TeletextPes({Header(500), Row(5, 1, "SPLIT"), Row(5, 2, "OVER PACKETS")}, 1234);
    for (size_t offset = 0; offset < pes.size(); offset += 150) {
        const size_t n = std::min<size_t>(150, pes.size() - offset);
        test::PacketOptions o;
        o.payloadUnitStart = offset == 0;
        o.adaptationLength = static_cast<int>(183 - n);
        const auto p = test::MakePacket(kPid, std::vector<uint8_t>(pes.begin() + offset, pes.begin() + offset + n), o);
        EXPECT_EQ(decoder.OnTeletextPacket(p.data(), 188), S_OK);
    }
    // An adaptation-only packet carries nothing and does not end the PES.
    test::PacketOptions none;
    none.adaptationLength = 183;
    none.payload = false;
    const auto empty = test::MakePacket(kPid, {}, none);
    EXPECT_EQ(decoder.OnTeletextPacket(empty.data(), 188), S_OK);
    EXPECT_FALSE(decoder.HasPage(500));
    FeedPes(test::TeletextPes({}, 0));
    EXPECT_EQ(RowText(500, 0, 1), "SPLIT");
    EXPECT_EQ(RowText(500, 0, 2), "OVER PACKETS");
}

TEST_F(TeletextDecoderTest, PayloadBeforeTheFirstUnitStartIsDropped)
{
    uint8_t cc = 0;
    auto packets = test::PacketizePes(kPid, test::TeletextPes({Header(600), Row(6, 1, "ORPHAN")}, 0), cc);
    for (auto& p : packets) {
        p[1] &= ~0x40; // as if the packet with the PES start had been lost
        EXPECT_EQ(decoder.OnTeletextPacket(p.data(), 188), S_FALSE);
    }
    Send({Header(601)});
    EXPECT_FALSE(decoder.HasPage(600));
    EXPECT_TRUE(decoder.HasPage(601));
}

TEST_F(TeletextDecoderTest, MalformedPesAndDataUnitsAreRefused)
{
    // A broken PTS marker bit drops the whole PES.
    auto bad = test::TeletextPes({Header(700)}, 0);
    bad[13] &= ~0x01;
    FeedPes(bad);
    FeedPes(test::TeletextPes({}, 0));
    EXPECT_FALSE(decoder.HasPage(700));

    // A short unit is stepped over; a unit running past the PES ends the walk.
    auto header = Header(701);
    std::vector<uint8_t> shortUnit = {0x02, 0x04, 0xE7, 0xE4, 0x00, 0x00};
    auto pes = test::MakePes(0, {}, 0x24 - 5);
    pes.push_back(0x10);
    pes.insert(pes.end(), shortUnit.begin(), shortUnit.end());
    pes.insert(pes.end(), header.begin(), header.end());
    auto row = Row(7, 1, "KEPT");
    pes.insert(pes.end(), row.begin(), row.end());
    auto cut = Row(7, 2, "CUT");
    cut[1] = 0x60; // claims more than there is
    pes.insert(pes.end(), cut.begin(), cut.end());
    const size_t length = pes.size() - 6;
    pes[4] = static_cast<uint8_t>(length >> 8);
    pes[5] = static_cast<uint8_t>(length);
    FeedPes(pes);
    FeedPes(test::TeletextPes({}, 0));
    EXPECT_EQ(RowText(701, 0, 1), "KEPT");
    EXPECT_EQ(RowText(701, 0, 2), "");
}

TEST_F(TeletextDecoderTest, BytesBehindThePesLengthAreNotDecoded)
{
    auto pes = test::TeletextPes({Header(710), Row(7, 1, "INSIDE")}, 0);
    // Shorten PES_packet_length so that the row falls behind the PES.
    const size_t length = pes.size() - 6 - 46 * 2;
    pes[4] = static_cast<uint8_t>(length >> 8);
    pes[5] = static_cast<uint8_t>(length);
    FeedPes(pes);
    FeedPes(test::TeletextPes({}, 0));
    EXPECT_TRUE(decoder.HasPage(710));
    EXPECT_EQ(RowText(710, 0, 1), "");
}

TEST_F(TeletextDecoderTest, APesLongerThanTheBufferKeepsItsHead)
{
    std::vector<std::vector<uint8_t>> units = {Header(720), Row(7, 1, "HEAD")};
    for (int i = 0; i < 4400; ++i)
        units.push_back(Row(7, 2, "FILLER"));
    units.push_back(Row(7, 3, "TAIL"));
    auto pes = test::TeletextPes(units, 0);
    ASSERT_GT(pes.size(), CTeletextDecoder::kBufferSize);
    pes[4] = pes[5] = 0; // unbounded, as for video
    FeedPes(pes);
    FeedPes(test::TeletextPes({}, 0));
    EXPECT_EQ(RowText(720, 0, 1), "HEAD");
    EXPECT_EQ(RowText(720, 0, 2), "FILLER");
    EXPECT_EQ(RowText(720, 0, 3), "");
}
