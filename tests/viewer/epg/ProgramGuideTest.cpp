#include <gtest/gtest.h>

#include <vector>

#include "base/Clock.h"
#include "support/FakeGlyphs.h"
#include "support/FakeSkinTexture.h"
#include "support/RecordingSurface.h"
#include "support/ZoneScope.h"
#include "viewer/epg/CEPGData.h"
#include "viewer/osd/Display.h"
#include "viewer/epg/ProgramGuide2.h"
#include "viewer/osd/Scale.h"

using namespace OnScreenDisplay;

namespace {

int64_t Utc(int hour, int minute)
{
    return base::DaysFromCivil(2026, 3, 1) * 86400 + hour * 3600 + minute * 60;
}

int64_t g_now = 0;
int64_t FixedNow()
{
    return g_now;
}

class GuideDisplay : public Display {
public:
    void OnGuideClick(int guide, uint32_t keyLow, uint32_t keyHigh) override
    {
        clicks.push_back({static_cast<uint32_t>(guide), keyLow, keyHigh});
    }
    void OnGuideMenu(int guide, uint32_t eventKeyLow, uint32_t eventKeyHigh, uint32_t channelKeyLow,
                     uint32_t channelKeyHigh, uint32_t flags, bool running, bool past) override
    {
        menus.push_back({static_cast<uint32_t>(guide), eventKeyLow, eventKeyHigh, channelKeyLow, channelKeyHigh, flags,
                         running ? 1u : 0u, past ? 1u : 0u});
    }
    void ShowEventDetails(const CEPGEvent* event) override { details.push_back(event); }
    std::vector<std::vector<uint32_t>> clicks, menus;
    std::vector<const CEPGEvent*> details;
};

struct EventSpec {
    int hour, minute, duration;
    uint32_t genre;
};

class Guide : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetScale(1.0f);
        root.Create(&surface);
        root.SetSize(1200, 600);
        guide = new ProgramGuide2();
        guide->SetParent(&root);
        guide->SetId(61);
        guide->SetRect(0, 0, 1200, 600);
        guide->SetFont(&font);
        guide->m_clock = FixedNow;
        g_now = Utc(20, 50);
    }
    void TearDown() override
    {
        root.DeleteChildren();
        SetScale(1.0f);
    }
    // Rows of events; event keys are row * 100 + index, channel keys row + 1 and 0xA0.
    void Fill(const std::vector<std::vector<EventSpec>>& rows)
    {
        ASSERT_EQ(model.BeginUpdate(), 0);
        for (size_t r = 0; r < rows.size(); ++r) {
            CEPGChannel* channel = nullptr;
            model.AddChannel(L"Ch", static_cast<uint32_t>(r + 1), 0xA0, &channel);
            for (size_t i = 0; i < rows[r].size(); ++i) {
                const EventSpec& e = rows[r][i];
                model.AddEvent(channel, L"Title", static_cast<uint32_t>(r * 100 + i), 0xE0, Utc(e.hour, e.minute),
                               e.duration, e.genre, L"N/A", L"N/A", 0);
            }
        }
        model.Publish();
        model.SetStartTime(Utc(19, 30));
        guide->SetModel(&model);
    }

    RecordingSurface surface;
    RecordingFont font;
    GuideDisplay root;
    CEPGData model{0};
    ProgramGuide2* guide = nullptr;
};

const std::vector<std::vector<EventSpec>> kFiveRows = {
    {{20, 0, 30, 3}, {20, 30, 30, 2}},
    {{20, 0, 30, 3}, {21, 0, 60, 16}},
    {{19, 0, 60, 5}, {20, 0, 25, 2}, {20, 25, 35, 9}},
    {},
    {{18, 0, 60, 1}},
};

} // namespace

TEST_F(Guide, RowAndTimeUnderThePointer)
{
    Fill(kFiveRows);
    const int64_t start = Utc(19, 30);
    EXPECT_EQ(guide->RowAt(0), 0);
    EXPECT_EQ(guide->RowAt(57), 0);
    EXPECT_EQ(guide->RowAt(58), 1);
    EXPECT_EQ(guide->RowAt(4 * 58 + 57), 4);
    EXPECT_EQ(guide->RowAt(5 * 58), -1);
    EXPECT_EQ(guide->RowAt(-1), -1);
    guide->OnMouseMove(0, 200 + 250 + 9, 70);
    EXPECT_EQ(model.m_selectedRow, 1);
    EXPECT_EQ(guide->m_cursorTime, start + 1800 + 60); // 9 px is 1.08 minutes: whole minutes only
    guide->OnMouseMove(0, 100, 10); // the name column: before the grid start
    EXPECT_EQ(guide->m_cursorTime, start - 12 * 60);

    model.m_topRow = 2;
    guide->OnMouseMove(0, 200, 60);
    EXPECT_EQ(model.m_selectedRow, 3);
    guide->OnMouseMove(0, 300, 3 * 58); // row 5 does not exist: nothing changes
    EXPECT_EQ(model.m_selectedRow, 3);
    EXPECT_EQ(guide->m_cursorTime, start);

    SetScale(1.5f); // pitch 87, name column 300, column 375
    model.m_topRow = 0;
    EXPECT_EQ(guide->RowAt(86), 0);
    EXPECT_EQ(guide->RowAt(87), 1);
    guide->OnMouseMove(0, 300 + 375, 90);
    EXPECT_EQ(model.m_selectedRow, 1);
    EXPECT_EQ(guide->m_cursorTime, start + 1800);

    SetScale(0.0f); // a minimised window: no row at all
    EXPECT_EQ(guide->RowAt(10), -1);
    guide->OnMouseMove(0, 500, 10);
    EXPECT_EQ(model.m_selectedRow, 1);
    EXPECT_FALSE(guide->OnLButtonDown(2, 500, 10));
    EXPECT_TRUE(root.menus.empty());
}

TEST_F(Guide, WheelKeepsThreeRowsAtTheTop)
{
    EXPECT_TRUE(guide->OnMouseWheel(0, -120, 10, 10)); // no model: taken, nothing else
    Fill(kFiveRows);
    guide->OnMouseWheel(0, -120, 10, 10);
    EXPECT_EQ(model.m_topRow, 1);
    guide->OnMouseWheel(0, -1200, 10, 10);
    EXPECT_EQ(model.m_topRow, 2);
    guide->OnMouseWheel(0, 119, 10, 10); // less than a notch: no row, still clamped
    EXPECT_EQ(model.m_topRow, 2);
    guide->OnMouseWheel(0, 240, 10, 10);
    EXPECT_EQ(model.m_topRow, 0);
    guide->OnMouseWheel(0, 120, 10, 10);
    EXPECT_EQ(model.m_topRow, 0);

    Fill({{}, {}});
    guide->OnMouseWheel(0, -360, 10, 10);
    EXPECT_EQ(model.m_topRow, 0);
}

TEST_F(Guide, UpAndDownGoToMidpoints)
{
    EXPECT_FALSE(guide->OnKey(ProgramGuide2::KeyDown, 1, 0)); // no model
    Fill({{}});
    EXPECT_TRUE(guide->OnKey(ProgramGuide2::KeyDown, 1, 0)); // a row without events: time kept
    Fill(kFiveRows);
    guide->m_cursorTime = Utc(20, 40);
    model.m_selectedRow = 0;
    EXPECT_TRUE(guide->OnKey(ProgramGuide2::KeyDown, 1, 0));
    EXPECT_EQ(model.m_selectedRow, 1);
    EXPECT_EQ(guide->m_cursorTime, Utc(20, 15)); // 20:40 lies after that event's end
    model.m_selectedRow = 0;
    guide->m_cursorTime = Utc(19, 0);
    EXPECT_TRUE(guide->OnKey(ProgramGuide2::KeyDown, 1, 0));
    EXPECT_EQ(guide->m_cursorTime, Utc(20, 15)); // every event starts later
    guide->m_cursorTime = Utc(20, 26);
    EXPECT_TRUE(guide->OnKey(ProgramGuide2::KeyDown, 1, 0));
    EXPECT_EQ(guide->m_cursorTime, Utc(20, 25) + 17 * 60); // 35 minutes: midpoint 17 minutes in
    guide->m_cursorTime = Utc(20, 10);
    EXPECT_TRUE(guide->OnKey(ProgramGuide2::KeyUp, 1, 0));
    EXPECT_EQ(model.m_selectedRow, 1);
    EXPECT_TRUE(guide->OnKey(ProgramGuide2::KeyUp, 1, 0));
    EXPECT_TRUE(guide->OnKey(ProgramGuide2::KeyUp, 1, 0)); // row 0 stays, time still set
    EXPECT_EQ(model.m_selectedRow, 0);
    EXPECT_EQ(guide->m_cursorTime, Utc(20, 15));
    model.m_selectedRow = 4;
    EXPECT_TRUE(guide->OnKey(ProgramGuide2::KeyDown, 1, 0));
    EXPECT_EQ(model.m_selectedRow, 4);
    EXPECT_EQ(guide->m_cursorTime, Utc(18, 30));
    EXPECT_TRUE(guide->OnKey(0x41, 1, 0)); // any other key: true, nothing moves
    EXPECT_EQ(guide->m_cursorTime, Utc(18, 30));

    Fill({});
    model.m_selectedRow = 3;
    EXPECT_FALSE(guide->OnKey(ProgramGuide2::KeyUp, 1, 0));
    EXPECT_EQ(model.m_selectedRow, 0);
}

TEST_F(Guide, LeftAndRightGoToNeighbours)
{
    Fill(kFiveRows);
    model.m_selectedRow = 2;
    guide->m_cursorTime = Utc(20, 30);
    EXPECT_FALSE(guide->OnKey(ProgramGuide2::KeyRight, 1, 0)); // the last event
    EXPECT_EQ(guide->m_cursorTime, Utc(20, 30));
    EXPECT_TRUE(guide->OnKey(ProgramGuide2::KeyLeft, 1, 0));
    EXPECT_EQ(guide->m_cursorTime, Utc(20, 12)); // 25 minutes: 12 whole minutes in
    EXPECT_TRUE(guide->OnKey(ProgramGuide2::KeyLeft, 1, 0));
    EXPECT_EQ(guide->m_cursorTime, Utc(19, 30));
    EXPECT_FALSE(guide->OnKey(ProgramGuide2::KeyLeft, 1, 0)); // the first event
    EXPECT_TRUE(guide->OnKey(ProgramGuide2::KeyRight, 1, 0));
    EXPECT_EQ(guide->m_cursorTime, Utc(20, 12));

    model.m_selectedRow = 1;
    guide->m_cursorTime = Utc(20, 40); // the gap between 20:30 and 21:00
    EXPECT_TRUE(guide->OnKey(ProgramGuide2::KeyRight, 1, 0));
    EXPECT_EQ(guide->m_cursorTime, Utc(20, 40));
    model.m_selectedRow = 7;
    EXPECT_FALSE(guide->OnKey(ProgramGuide2::KeyLeft, 1, 0));
}

TEST_F(Guide, ClicksReachTheDisplay)
{
    EXPECT_TRUE(guide->OnLButtonDown(1, 300, 10)); // no model: a plain pointer move
    Fill(kFiveRows);
    guide->m_cursorTime = Utc(12, 0);
    EXPECT_TRUE(guide->OnLButtonDown(2, 50, 58 + 10)); // the name column, either button
    EXPECT_EQ(model.m_selectedRow, 1);
    EXPECT_EQ(guide->m_cursorTime, Utc(12, 0));
    ASSERT_EQ(root.clicks.size(), 1u);
    EXPECT_EQ(root.clicks[0], (std::vector<uint32_t>{61, 2, 0xA0}));

    // Row 0: 20:00-20:30 (x 450-700) has ended at 20:50, 20:30-21:00 (x 700-950) is running.
    EXPECT_TRUE(guide->OnLButtonDown(2, 460, 10));
    EXPECT_TRUE(guide->OnLButtonDown(1, 710, 10));
    ASSERT_EQ(root.menus.size(), 2u);
    EXPECT_EQ(root.menus[0], (std::vector<uint32_t>{61, 0, 0xE0, 1, 0xA0, 2, 0, 1}));
    EXPECT_EQ(root.menus[1], (std::vector<uint32_t>{61, 1, 0xE0, 1, 0xA0, 1, 1, 0}));
    EXPECT_EQ(model.m_selectedRow, 0);

    // Row 1 at 20:40 is a gap, row 3 has no events, y past the rows has no row: the base handling.
    EXPECT_FALSE(guide->OnLButtonDown(2, 200 + 250 + 333, 58 + 5));
    EXPECT_FALSE(guide->OnLButtonDown(2, 500, 3 * 58 + 5));
    EXPECT_FALSE(guide->OnLButtonDown(2, 500, 5 * 58 + 5));
    EXPECT_EQ(root.menus.size(), 2u);
}

TEST_F(Guide, PastAndRunningAreJudgedOnInstantsInAnyZone)
{
    // Events and now are instants: the zone must not shift them (UTC+1 and UTC+2 here).
    for (int month : {1, 7}) {
        ZoneScope zone("Europe/Bratislava");
        if (!zone.Active())
            GTEST_SKIP() << "the zone is not in effect";
        const int64_t day = base::DaysFromCivil(2026, month, 15) * 86400;
        CEPGData zoned(day + 20 * 3600 + 50 * 60);
        ASSERT_EQ(zoned.BeginUpdate(), 0);
        CEPGChannel* channel = nullptr;
        zoned.AddChannel(L"Ch", 1, 0xA0, &channel);
        zoned.AddEvent(channel, L"T", 7, 0xE0, day + 20 * 3600, 30, 3, L"N/A", L"N/A", 0);
        zoned.Publish();
        guide->SetModel(&zoned);
        g_now = day + 20 * 3600 + 50 * 60;
        // The grid starts at the local half hour before: 30 minutes before 20:30 UTC.
        EXPECT_EQ(zoned.m_gridStart, day + 20 * 3600);
        root.menus.clear();
        EXPECT_TRUE(guide->OnLButtonDown(2, 200 + 10, 10));
        ASSERT_EQ(root.menus.size(), 1u);
        EXPECT_EQ(root.menus[0][6], 0u);
        EXPECT_EQ(root.menus[0][7], 1u);
        guide->SetModel(nullptr);
    }
}

namespace {

float SquareX(float x, float width)
{
    return 2.0f * x / width - 1.0f;
}

const RecordingSurface::Draw* DrawWith(const RecordingSurface& surface, const FakeSkinTexture* texture)
{
    for (const auto& draw : surface.draws) {
        if (draw.texture == texture->GetSurfaceTexture())
            return &draw;
    }
    return nullptr;
}

} // namespace

TEST_F(Guide, DrawsRowsBlocksFrameCornersTitlesAndNow)
{
    FakeSkinTexture rowImage(100, 56), corner(20, 20), now(54, 56), frame(62, 62);
    guide->SetChannelTexture(&rowImage);
    guide->SetCornerTexture(&corner);
    guide->SetNowTexture(&now);
    guide->SetSelectedTexture(&frame);
    EXPECT_EQ(corner.references, 1);

    root.Render(1.0f); // no model: only the children, which have nothing to draw
    EXPECT_TRUE(surface.draws.empty());
    EXPECT_TRUE(font.draws.empty());

    Fill(kFiveRows);
    model.m_selectedRow = 0;
    guide->m_cursorTime = Utc(20, 40);
    root.Render(1.0f);
    EXPECT_EQ(guide->m_rowsDrawn, 5);
    EXPECT_EQ(guide->m_columnsShown, 4);

    ASSERT_GE(surface.draws.size(), 5u);
    // 1: five row backgrounds in one list.
    EXPECT_EQ(surface.draws[0].texture, rowImage.GetSurfaceTexture());
    EXPECT_EQ(surface.draws[0].vertices.size(), 5u * 6);
    // 3: grey blocks, untextured. Row 4's only event ended before the grid start; the framed one is
    // drawn as the frame instead.
    const auto& blocks = surface.draws[1];
    EXPECT_EQ(blocks.texture, nullptr);
    ASSERT_EQ(blocks.vertices.size(), 6u * 6);
    EXPECT_EQ(blocks.vertices[0].colour, 0xFFC8C8C8u);
    EXPECT_FLOAT_EQ(blocks.vertices[0].x, SquareX(450, 1200));
    EXPECT_FLOAT_EQ(blocks.vertices[1].x, SquareX(698, 1200));
    EXPECT_FLOAT_EQ(blocks.vertices[0].y, 1.0f);
    EXPECT_FLOAT_EQ(blocks.vertices[2].y, 1.0f - 2.0f * 56 / 600);
    // Row 2's first event began at 19:00, before the grid: cut at the time area's left edge.
    EXPECT_FLOAT_EQ(blocks.vertices[18].x, SquareX(200, 1200));
    EXPECT_FLOAT_EQ(blocks.vertices[19].x, SquareX(448, 1200));
    // 4: the frame round 20:30-21:00 of row 0, nine parts cut at 5/62 and 57/62.
    const auto* framed = DrawWith(surface, &frame);
    ASSERT_NE(framed, nullptr);
    ASSERT_EQ(framed->vertices.size(), 54u);
    EXPECT_FLOAT_EQ(framed->vertices[0].x, SquareX(700, 1200));
    EXPECT_FLOAT_EQ(framed->vertices[1].x, SquareX(710, 1200));
    EXPECT_FLOAT_EQ(framed->vertices[1].u, 5.0f / 62);
    EXPECT_FLOAT_EQ(framed->vertices[6 + 1].u, 57.0f / 62);
    ASSERT_EQ(root.details.size(), 1u);
    EXPECT_EQ(root.details[0]->m_keyLow, 1u);
    // 5: genre marks at the blocks' right ends; genre 16 (row 1, 21:00) has none.
    const auto* corners = DrawWith(surface, &corner);
    ASSERT_NE(corners, nullptr);
    ASSERT_EQ(corners->vertices.size(), 6u * 6);
    EXPECT_EQ(corners->vertices[0].colour, 0xFFFF8040u);
    EXPECT_FLOAT_EQ(corners->vertices[0].x, SquareX(678, 1200));
    EXPECT_FLOAT_EQ(corners->vertices[1].x, SquareX(698, 1200));
    EXPECT_EQ(corners->vertices[6].colour, 0xFF00FFFFu);
    // 7: now (20:50) is 80 minutes into the grid.
    const auto* marker = DrawWith(surface, &now);
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(marker->vertices[0].colour, 0xFF0000DCu);
    EXPECT_NEAR((marker->vertices[0].x + marker->vertices[1].x) / 2, SquareX(200 + 80 * 250.0f / 30, 1200), 1e-4);
    // 2 and 6: five names, then seven titles; the framed title is white.
    ASSERT_EQ(font.draws.size(), 12u);
    EXPECT_EQ(font.draws[0].text, u"Ch");
    EXPECT_EQ(font.draws[0].style.colour, 0xFF000000u);
    EXPECT_EQ(font.draws[5].text, u"Title");
    EXPECT_EQ(font.draws[5].style.colour, 0xFF000000u);
    EXPECT_EQ(font.draws[6].style.colour, 0xFFFFFFFFu);
    EXPECT_GT(font.draws[6].style.fadeStart, -1.0f);

    // The details follow the frame once per change, by the event's key.
    surface.draws.clear();
    root.Render(0.5f);
    EXPECT_EQ(root.details.size(), 1u);
    EXPECT_EQ(surface.draws[1].vertices[0].colour, 0x7FC8C8C8u);
    model.m_selectedRow = 1; // 20:40 is a gap in row 1
    root.Render(1.0f);
    root.Render(1.0f);
    ASSERT_EQ(root.details.size(), 2u);
    EXPECT_EQ(root.details[1], nullptr);
    model.m_selectedRow = 0;
    root.Render(1.0f);
    ASSERT_EQ(root.details.size(), 3u);
    CEPGEvent* shown = const_cast<CEPGEvent*>(root.details[2]);
    shown->m_keyLow = 77; // a new event at the same address
    root.Render(1.0f);
    ASSERT_EQ(root.details.size(), 4u);
    EXPECT_EQ(root.details[3], shown);

    // Device re-creation: the laid-out texts are dropped and laid out again on the next drawing.
    model.DropTexts();
    EXPECT_EQ(model.Row(0)->m_nameText, nullptr);
    font.draws.clear();
    root.Render(1.0f);
    EXPECT_EQ(font.draws.size(), 12u);
    EXPECT_NE(model.Row(0)->m_nameText, nullptr);

    root.DeleteChildren();
    EXPECT_EQ(corner.references, 0);
    EXPECT_EQ(frame.references, 0);
}

TEST_F(Guide, BatchesRowsByFiftyAndBlocksByTwoHundredFifty)
{
    std::vector<std::vector<EventSpec>> rows(60);
    for (auto& row : rows) {
        for (int i = 0; i < 5; ++i)
            row.push_back({19 + (30 + 30 * i) / 60, (30 + 30 * i) % 60, 30, 2});
    }
    Fill(rows);
    FakeSkinTexture rowImage(100, 56);
    guide->SetChannelTexture(&rowImage);
    guide->SetRect(0, 0, 200 + 5 * 250, 60 * 58);
    model.m_selectedRow = 99; // nothing framed
    root.Render(1.0f);
    EXPECT_EQ(guide->m_rowsDrawn, 60);
    ASSERT_EQ(surface.draws.size(), 4u);
    EXPECT_EQ(surface.draws[0].vertices.size(), 50u * 6);
    EXPECT_EQ(surface.draws[1].vertices.size(), 10u * 6);
    EXPECT_EQ(surface.draws[2].vertices.size(), 250u * 6);
    EXPECT_EQ(surface.draws[3].vertices.size(), 50u * 6);
    EXPECT_TRUE(root.details.empty());

    SetScale(0.0f); // minimised: nothing drawn, nothing divided by 0
    surface.draws.clear();
    root.Render(1.0f);
    EXPECT_TRUE(surface.draws.empty());
    root.DeleteChildren(); // before the texture goes
}
