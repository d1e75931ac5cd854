// How panels show, hide, move and react: transition times, the visibility factor per state, motion
// on the display's matrix stack, draw orders, the menu keys, the tune entry, the volume panel's
// display time and the guide's cursor.
#include "PanelTestSupport.h"

#include <cmath>

#include "support/FakeSkinTexture.h"
#include "viewer/epg/CEPGData.h"
#include "viewer/osd/Geometry.h"
#include "viewer/panels/CQORBackgroundpanel.h"
#include "viewer/panels/CQORChannelLogoPanel.h"
#include "viewer/panels/CQORChannelsPanel.h"
#include "viewer/panels/CQORControlsPanel.h"
#include "viewer/panels/CQOREPGPanel.h"
#include "viewer/panels/CQORInfoPanel.h"
#include "viewer/panels/CQORMenu.h"
#include "viewer/panels/CQORMenuPanel.h"
#include "viewer/panels/CQORRecordedPanel.h"
#include "viewer/panels/CQORStatusIcon.h"
#include "viewer/panels/CQORSubtitlePanel.h"
#include "viewer/panels/CQORSwitcherPanel.h"
#include "viewer/panels/CQORTeletextPanel.h"
#include "viewer/panels/CQORTopPanel.h"
#include "viewer/panels/CQORTunePanel.h"
#include "viewer/panels/CQORVolumePanel.h"
#include "viewer/panels/PanelDrawing.h"
#include "viewer/panels/PanelFrame.h"

using namespace OnScreenDisplay;
using namespace PanelTest;
using Panels::Fade;
using Panels::VisibilityFactor;

namespace {

// The main frame as the panels see it.
class FrameDouble : public PanelFrame {
public:
    void OnChannelNumber(int number) override { numbers.push_back(number); }
    void RefreshGuide() override { ++refreshes; }
    std::vector<int> numbers;
    int refreshes = 0;
};

class PanelBehaviour : public PanelFixture {
protected:
    // Puts the panel into the tree and lets a show run to its end.
    void Show(Panel& panel)
    {
        if (!root.IndexOfChild(&panel))
            root.AddChild(&panel);
        panel.SetState(Panel::Shown);
        g_now += 10000;
        panel.GetProgress();
    }
    void Detach(Panel& panel) { root.RemoveChild(&panel); }

    FrameDouble frame;
};

void ExpectMatrix(const Matrix& actual, const Matrix& expected, const char* what)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(actual.m[r][c], expected.m[r][c], 1e-5) << what << " [" << r << "][" << c << "]";
}

TEST(PanelRules, TransitionTimes)
{
    struct Expected {
        Panel* panel;
        uint32_t show, hide;
    };
    CQORControlsPanel controls;
    CQORInfoPanel info;
    CQORMenu menu;
    CQORMenuPanel bar;
    CQORTopPanel top;
    CQORChannelLogoPanel logo;
    CQORBackgroundpanel background;
    CQORStatusIcon icon;
    CQORVolumePanel volume;
    CQORTunePanel tune;
    CQOREPGPanel guide;
    CQOREPGHeaderPanel guideHeader;
    CQOREPGScrollPanel pad;
    CQORSubtitlePanel subtitles;
    CQORTeletextPanel teletext;
    CQORSwitcherPanel switcher;
    CQORRecordedPanel recorded;
    CQORChannelsPanel channels;
    CQORSwitcherHeaderPanel switcherHeader;
    CQORRecordedHeaderPanel recordedHeader;
    CQORChannelsHeaderPanel channelsHeader;
    const Expected table[] = {
        {&controls, 600, 700},      {&info, 600, 600},      {&menu, 400, 400},           {&bar, 400, 400},
        {&top, 400, 400},           {&logo, 700, 400},      {&background, 300, 300},     {&icon, 300, 300},
        {&volume, 300, 300},        {&tune, 300, 300},      {&guide, 400, 400},          {&guideHeader, 150, 150},
        {&pad, 150, 150},           {&subtitles, 400, 400}, {&teletext, 400, 400},       {&switcher, 400, 400},
        {&recorded, 400, 400},      {&channels, 400, 400},  {&switcherHeader, 150, 150}, {&recordedHeader, 150, 150},
        {&channelsHeader, 150, 150}};
    for (const Expected& e : table) {
        EXPECT_EQ(e.panel->GetTransitionTime(Panel::Showing), e.show);
        EXPECT_EQ(e.panel->GetTransitionTime(Panel::Hiding), e.hide);
        EXPECT_EQ(e.panel->GetTransitionTime(Panel::Hidden), 1u);
        EXPECT_EQ(e.panel->GetTransitionTime(Panel::Shown), 1u);
    }
}

TEST(PanelRules, VisibilityFactorPerState)
{
    const float e = Ease(0.25f);
    EXPECT_FLOAT_EQ(VisibilityFactor(Fade::Eased, Panel::Showing, 0.25f), e);
    EXPECT_FLOAT_EQ(VisibilityFactor(Fade::Eased, Panel::Shown, 1.0f), 1.0f);
    EXPECT_FLOAT_EQ(VisibilityFactor(Fade::Eased, Panel::Hiding, 0.25f), 1.0f - e);
    EXPECT_FLOAT_EQ(VisibilityFactor(Fade::Linear, Panel::Showing, 0.25f), 0.25f);
    EXPECT_FLOAT_EQ(VisibilityFactor(Fade::Linear, Panel::Hiding, 0.25f), 0.75f);
    EXPECT_FLOAT_EQ(VisibilityFactor(Fade::EasedBoth, Panel::Showing, 0.25f), e);
    EXPECT_FLOAT_EQ(VisibilityFactor(Fade::EasedBoth, Panel::Hiding, 0.25f), Ease(0.75f));
    // The logo stays invisible until its curve passes 0.4, then reaches 1 at its end.
    EXPECT_FLOAT_EQ(VisibilityFactor(Fade::Logo, Panel::Showing, 0.5f), 0.0f); // E(0.5) is about 0.09
    EXPECT_NEAR(VisibilityFactor(Fade::Logo, Panel::Showing, 1.0f), 1.0f, 1e-5);
    EXPECT_NEAR(VisibilityFactor(Fade::Logo, Panel::Showing, 0.8f), (Ease(0.8f) - 0.4f) * 1.6666667f, 1e-6);
    EXPECT_FLOAT_EQ(VisibilityFactor(Fade::Logo, Panel::Hiding, 0.25f), 1.0f - e);
    EXPECT_FLOAT_EQ(VisibilityFactor(Fade::ScrollPad, Panel::Hidden, 1.0f), 0.3f);
    EXPECT_FLOAT_EQ(VisibilityFactor(Fade::ScrollPad, Panel::Showing, 0.5f), 0.65f);
    EXPECT_FLOAT_EQ(VisibilityFactor(Fade::ScrollPad, Panel::Hiding, 0.25f), 0.3f + 0.7f * 0.75f);
}

TEST_F(PanelBehaviour, HiddenPanelsDrawNothingButTheScrollPad)
{
    auto* controls = new CQORControlsPanel;
    controls->m_background = Add<Image>(*controls, "controls");
    auto* logo = new CQORChannelLogoPanel;
    logo->m_frame = Add<ChannelLogo>(*logo, "logo");
    auto* header = new CQORRecordedHeaderPanel;
    header->m_background = Add<Image>(*header, "header");
    auto* pad = new CQOREPGScrollPanel;
    pad->m_background = Add<Image>(*pad, "pad");
    for (Panel* panel : std::initializer_list<Panel*>{controls, logo, header, pad}) {
        panel->SetRect(0, 0, 100, 100);
        panel->Layout();
        root.AddChild(panel);
    }
    root.Render(0.0f);
    ASSERT_EQ(Names(), std::vector<std::string>{"pad"});
    EXPECT_FLOAT_EQ(log[0].alpha, 0.0f);
    Draw();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_FLOAT_EQ(log[0].alpha, 0.3f);
}

// The world transform each panel's children get while it moves, against the one it has at rest.
TEST_F(PanelBehaviour, MotionOnTheMatrixStack)
{
    struct Case {
        Panel* panel;
        const char* name;
        Fade fade;
        int kind; // 0 left, 1 above, 2 right, 3 grow and hop, 4 none
    };
    auto* controls = new CQORControlsPanel;
    controls->m_background = Add<Image>(*controls, "controls");
    auto* top = new CQORTopPanel;
    top->m_background = Add<Image>(*top, "top");
    auto* tune = new CQORTunePanel;
    tune->m_upperBackground = Add<TileImage>(*tune, "tune");
    auto* logo = new CQORChannelLogoPanel;
    logo->m_frame = Add<ChannelLogo>(*logo, "logo");
    auto* channels = new CQORChannelsPanel;
    channels->m_background = Add<TileImage>(*channels, "channels");
    auto* icon = new CQORStatusIcon;
    icon->m_icon = Add<Image>(*icon, "icon");
    const Case cases[] = {{controls, "controls", Fade::Eased, 0},     {top, "top", Fade::Eased, 1},
                          {tune, "tune", Fade::EasedBoth, 2},         {logo, "logo", Fade::Logo, 3},
                          {channels, "channels", Fade::EasedBoth, 2}, {icon, "icon", Fade::Linear, 4}};
    for (const Case& c : cases) {
        c.panel->SetRect(100, 50, 500, 250);
        c.panel->Layout();
        Show(*c.panel);
        Draw();
        ASSERT_EQ(log.size(), 1u) << c.name;
        const Matrix rest = log[0].world;
        const bool dimmed = c.name == std::string("tune") || c.name == std::string("channels");
        EXPECT_FLOAT_EQ(log[0].alpha, dimmed ? 0.85f : 1.0f) << c.name;

        const uint32_t hide = c.panel->GetTransitionTime(Panel::Hiding);
        c.panel->SetState(Panel::Hidden);
        g_now += hide / 2;
        Draw();
        ASSERT_EQ(log.size(), 1u) << c.name;
        const float f = VisibilityFactor(c.fade, Panel::Hiding, 0.5f);
        Matrix moved = rest;
        switch (c.kind) {
        case 0: moved = Matrix::Translation(2 * (f - 1), 0, 0) * rest; break;
        case 1: moved = Matrix::Translation(0, -2 * (f - 1), 0) * rest; break;
        case 2: moved = Matrix::Translation(1 - f, 0, 0) * rest; break;
        case 3:
            moved = Matrix::Translation(0, std::sin(f * 3.14159265f), 0) *
                    (Matrix::Scaling((f + 1) / 2, (f + 1) / 2, 1) * rest);
            break;
        default: break;
        }
        ExpectMatrix(log[0].world, moved, c.name);
        // The surface is left with the root's transform once the panel is drawn.
        ExpectMatrix(surface.transforms.back(), Matrix::Identity(), c.name);

        g_now += hide;
        Draw();
        EXPECT_TRUE(log.empty()) << c.name;
        EXPECT_EQ(c.panel->GetState(), Panel::Hidden) << c.name;
        Detach(*c.panel);
        delete c.panel;
    }
}

TEST_F(PanelBehaviour, DrawOrders)
{
    auto* guide = new CQOREPGPanel;
    guide->m_guide = Add<ProgramGuide2>(*guide, "guide");
    guide->m_background = Add<TileImage>(*guide, "background");
    guide->m_hint = Add<Image>(*guide, "hint");
    guide->m_smallScreenFrame = Add<Image>(*guide, "frame");
    guide->m_preview = Add<Video>(*guide, "preview");
    guide->m_titleValue = Add<Label>(*guide, "title");
    guide->m_programCaption = Add<Label>(*guide, "Program:");
    guide->m_genreValue = Add<Label>(*guide, "genre");
    guide->m_genreCaption = Add<Label>(*guide, "Genre:");
    guide->m_description = Add<Memo>(*guide, "description");
    guide->m_infoCaption = Add<Label>(*guide, "Info:");
    guide->m_scrollPad = Add<CQOREPGScrollPanel>(*guide, "pad");
    guide->m_header = Add<CQOREPGHeaderPanel>(*guide, "header");
    guide->SetRect(0, 0, 1920, 1080);
    guide->Layout();
    Show(*guide);
    Draw();
    const std::vector<std::string> guideOrder = {"background", "hint",    "header", "guide", "pad",
                                                 "frame",      "preview", "title",  "genre", "description",
                                                 "Program:",   "Genre:",  "Info:"};
    EXPECT_EQ(Names(), guideOrder);
    for (const DrawRecord& r : log)
        EXPECT_FLOAT_EQ(r.alpha, r.name == "background" || r.name == "guide" ? 0.85f : 1.0f) << r.name;
    Detach(*guide);
    delete guide;

    auto* teletext = new CQORTeletextPanel;
    teletext->m_page = Add<ActiveCustomDrawControl>(*teletext, "page");
    teletext->m_close = Add<Button>(*teletext, "close");
    teletext->m_header = Add<Image>(*teletext, "header");
    teletext->m_firstBlock = Add<TileImage>(*teletext, "block 1");
    teletext->m_back = Add<Button>(*teletext, "back");
    teletext->m_firstSeparator = Add<Image>(*teletext, "separator 1");
    teletext->m_next = Add<Button>(*teletext, "next");
    teletext->m_secondSeparator = Add<Image>(*teletext, "separator 2");
    teletext->m_previous = Add<Button>(*teletext, "previous");
    teletext->m_secondBlock = Add<TileImage>(*teletext, "block 2");
    teletext->m_pageNumber = Add<Label>(*teletext, "number");
    teletext->m_clock = Add<Label>(*teletext, "clock");
    teletext->SetRect(0, 0, 1000, 780);
    teletext->Layout();
    Show(*teletext);
    Draw();
    const std::vector<std::string> teletextOrder = {"header", "block 1",     "back",        "previous",
                                                    "next",   "separator 1", "separator 2", "block 2",
                                                    "number", "clock",       "page",        "close"};
    EXPECT_EQ(Names(), teletextOrder);
    Detach(*teletext);
    delete teletext;

    auto* tune = new CQORTunePanel;
    tune->m_channelList = Add<ListBox>(*tune, "list");
    tune->m_numberLabel = Add<Label>(*tune, "number");
    tune->m_lowerBackground = Add<TileImage>(*tune, "lower");
    tune->m_upperBackground = Add<TileImage>(*tune, "upper");
    tune->SetRect(0, 0, 300, 500);
    tune->Layout();
    Show(*tune);
    Draw();
    EXPECT_EQ(Names(), (std::vector<std::string>{"upper", "lower", "number", "list"}));
    EXPECT_FLOAT_EQ(log[1].alpha, 0.85f);
    EXPECT_FLOAT_EQ(log[2].alpha, 1.0f);
    Detach(*tune);
    delete tune;

    auto* recorded = new CQORRecordedPanel;
    recorded->m_list = Add<ListBox>(*recorded, "list");
    recorded->m_header = Add<CQORRecordedHeaderPanel>(*recorded, "header");
    recorded->m_background = Add<TileImage>(*recorded, "background");
    auto* header = new CQORRecordedHeaderPanel;
    header->m_tabs = Add<Tabs>(*header, "tabs");
    header->m_close = Add<Button>(*header, "close");
    header->m_background = Add<Image>(*header, "bar");
    for (Panel* panel : std::initializer_list<Panel*>{recorded, header}) {
        panel->SetRect(0, 0, 800, 600);
        panel->Layout();
        Show(*panel);
    }
    Draw();
    EXPECT_EQ(Names(), (std::vector<std::string>{"background", "header", "list", "bar", "close", "tabs"}));
    EXPECT_FLOAT_EQ(log[0].alpha, 0.85f);
}

TEST_F(PanelBehaviour, MenuKeys)
{
    class CommandRoot : public Display {
    public:
        void OnCommand(int id) override { commands.push_back(id); }
        std::vector<int> commands;
    } commandRoot;
    auto* menu = new CQORMenu;
    commandRoot.AddChild(menu);
    menu->m_background = Add<Image>(*menu, "background");
    for (int i = 0; i < CQORMenu::kItems; ++i) {
        menu->m_items[i] = Add<TextButton>(*menu, "item");
        menu->m_items[i]->SetId(100 + i);
    }
    // The items are chained in order without wrapping, as the display links them.
    for (int i = 0; i < CQORMenu::kItems; ++i) {
        MenuLink link;
        link.up = i > 0 ? menu->m_items[i - 1] : nullptr;
        link.down = i + 1 < CQORMenu::kItems ? menu->m_items[i + 1] : nullptr;
        menu->SetLink(menu->m_items[i], link);
    }
    menu->SetFocusIndex(-1);

    EXPECT_TRUE(menu->OnKey(0x26)); // Up with nothing focused: the first item
    EXPECT_EQ(menu->GetFocusedChild(), menu->m_items[0]);
    EXPECT_TRUE(menu->OnKey(0x26)); // Up on the first stays, still handled
    EXPECT_EQ(menu->GetFocusedChild(), menu->m_items[0]);
    EXPECT_TRUE(menu->OnKey(0x28));
    EXPECT_TRUE(menu->OnKey(0x28));
    EXPECT_EQ(menu->GetFocusedChild(), menu->m_items[2]);
    EXPECT_FALSE(menu->OnKey(0x0D)); // Return runs the item's command, and the frame goes on
    EXPECT_EQ(commandRoot.commands, std::vector<int>{102});
    EXPECT_FALSE(menu->OnKey(0x25)); // Left is not the menu's

    // Return on the background (not a text button) does nothing and is not handled.
    menu->SetFocusChild(menu->m_background);
    EXPECT_FALSE(menu->OnKey(0x0D));
    EXPECT_EQ(commandRoot.commands.size(), 1u);
    EXPECT_FALSE(menu->OnKey(0x28)); // focus without a link: not handled
}

TEST_F(PanelBehaviour, TuneDigitsAndHideDeadline)
{
    auto* tune = new CQORTunePanel;
    tune->SetFrame(&frame);
    tune->m_numberLabel = Add<Label>(*tune, "number");
    tune->SetRect(0, 0, 300, 500);
    tune->Layout();
    Show(*tune);

    for (int d : {1, 2, 3, 4})
        tune->AddDigit(d);
    EXPECT_EQ(tune->m_numberLabel->GetText(), u"1234");
    tune->m_numberLabel->SetText(u"stale");
    tune->AddDigit(5); // a fifth digit changes nothing but still refreshes and notifies
    EXPECT_EQ(tune->GetNumber(), 1234);
    EXPECT_EQ(tune->m_numberLabel->GetText(), u"1234");
    EXPECT_EQ(frame.numbers, (std::vector<int>{1, 12, 123, 1234, 1234}));
    EXPECT_EQ(tune->GetHideDeadline(), 0u);

    tune->ClearNumber();
    EXPECT_EQ(frame.numbers.back(), 0);
    tune->AddDigit(7);
    tune->AddDigit(-1); // erasing the only digit: empty label, hide in 1.5 s
    EXPECT_EQ(tune->m_numberLabel->GetText(), u"");
    EXPECT_EQ(frame.numbers.back(), 0);
    EXPECT_EQ(tune->GetHideDeadline(), g_now + 1500);
    g_now += 1000;
    tune->AddDigit(8); // a digit within the time cancels the hide
    EXPECT_EQ(tune->GetHideDeadline(), 0u);
    g_now += 5000;
    Draw();
    EXPECT_EQ(tune->GetState(), Panel::Shown);

    tune->AddDigit(-1);
    EXPECT_EQ(tune->AnimationDelay(g_now), 1501u); // drawn again when the deadline has passed
    g_now += 1500;
    Draw();
    EXPECT_EQ(tune->GetState(), Panel::Shown); // at the deadline, not past it
    g_now += 1;
    Draw();
    EXPECT_EQ(tune->GetState(), Panel::Hiding);
    EXPECT_EQ(tune->GetHideDeadline(), 0u);

    // Across the tick count's wrap the deadline still lies ahead, and 0 is never a live deadline.
    Show(*tune);
    g_now = 0xFFFFFFFFu - 1000;
    tune->AddDigit(-1);
    EXPECT_EQ(tune->GetHideDeadline(), 499u);
    Draw();
    EXPECT_EQ(tune->GetState(), Panel::Shown);
    g_now = 0xFFFFFFFFu - 1499;
    tune->AddDigit(-1);
    EXPECT_EQ(tune->GetHideDeadline(), 1u);
}

TEST_F(PanelBehaviour, VolumeHidesThreeSecondsAfterTheLastChange)
{
    auto* volume = new CQORVolumePanel;
    volume->m_volumeBar = Add<VolumeBar>(*volume, "bar");
    volume->SetRect(0, 0, 300, 20);
    volume->Layout();
    root.AddChild(volume);
    for (int second = 0; second < 6; ++second) {
        volume->SetState(Panel::Shown);
        g_now += 1000;
        Draw();
        ASSERT_EQ(volume->GetState(), Panel::Shown) << second;
        ASSERT_EQ(log.size(), 1u);
    }
    EXPECT_EQ(volume->AnimationDelay(g_now), 2001u); // drawn again when its time has run
    g_now += 2000; // 3000 ms since the last change: not more
    Draw();
    EXPECT_EQ(volume->GetState(), Panel::Shown);
    g_now += 1;
    Draw();
    EXPECT_EQ(volume->GetState(), Panel::Hiding);
    EXPECT_EQ(volume->AnimationDelay(g_now), 0u);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_FLOAT_EQ(log[0].alpha, 1.0f);
    g_now += 150;
    Draw();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_FLOAT_EQ(log[0].alpha, 0.5f);
    g_now += 150;
    Draw();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(volume->GetState(), Panel::Hidden);
    EXPECT_EQ(volume->AnimationDelay(g_now), Control::kStill);
}

// The page and overlay draw nothing before their first bitmap, though their panels are shown.
TEST_F(PanelBehaviour, OverlaysWaitForTheirFirstBitmap)
{
    static FakeSkinTexture empty(720, 576);
    empty.content = false;
    SetEmptyTextureFactory([]() -> SkinTexture* { return empty.AddRef(), &empty; });
    auto* teletext = new CQORTeletextPanel;
    teletext->m_page = new ActiveCustomDrawControl;
    teletext->AddChild(teletext->m_page);
    auto* subtitles = new CQORSubtitlePanel;
    subtitles->m_overlay = new CustomDrawControl;
    subtitles->AddChild(subtitles->m_overlay);
    for (Panel* panel : std::initializer_list<Panel*>{teletext, subtitles}) {
        panel->SetRect(0, 0, 1000, 780);
        panel->Layout();
        Show(*panel);
    }
    root.Render(1.0f);
    EXPECT_TRUE(surface.draws.empty());
    empty.content = true;
    root.Render(1.0f);
    EXPECT_EQ(surface.draws.size(), 2u);
    root.DeleteChildren();
    SetEmptyTextureFactory(nullptr);
    EXPECT_EQ(empty.references, 0);
}

TEST_F(PanelBehaviour, ChannelLogoHoldsItsTextures)
{
    static FakeSkinTexture logoImage(132, 100);
    SetEmptyTextureFactory([]() -> SkinTexture* { return logoImage.AddRef(), &logoImage; });
    FakeSkinTexture defaultLogo(132, 100);
    {
        CQORChannelLogoPanel panel;
        EXPECT_EQ(panel.GetLogoImage(), &logoImage);
        panel.SetDefaultLogo(&defaultLogo);
        EXPECT_EQ(logoImage.references, 1);
        EXPECT_EQ(defaultLogo.references, 1);
    }
    EXPECT_EQ(logoImage.references, 0);
    EXPECT_EQ(defaultLogo.references, 0);
    SetEmptyTextureFactory(nullptr);
}

class GuideCursor : public PanelBehaviour {
protected:
    void SetUp() override
    {
        PanelBehaviour::SetUp();
        panel.SetFrame(&frame);
        panel.m_guide = new ProgramGuide2;
        panel.AddChild(panel.m_guide);
        panel.m_guide->SetModel(&model);
        panel.m_guide->m_rowsDrawn = 6;
        panel.m_guide->m_columnsShown = 6; // a span of four half hours
        model.m_gridStart = kStart;
        panel.m_guide->m_cursorTime = kStart + 3600;
    }
    static constexpr int64_t kStart = 1'800'000'000; // a whole half hour
    CEPGData model;
    CQOREPGPanel panel;
};

TEST_F(GuideCursor, RowsFollowTheSelection)
{
    model.m_topRow = 10;
    model.m_selectedRow = 16; // one below the last visible row
    panel.KeepCursorVisible();
    EXPECT_EQ(model.m_topRow, 11);
    model.m_selectedRow = 4;
    panel.KeepCursorVisible();
    EXPECT_EQ(model.m_topRow, 4);
    EXPECT_EQ(frame.refreshes, 0); // the window did not move

    // Before the grid has been drawn it knows no row count: the rows stay.
    panel.m_guide->m_rowsDrawn = 0;
    model.m_selectedRow = 9;
    panel.KeepCursorVisible();
    EXPECT_EQ(model.m_topRow, 4);
}

TEST_F(GuideCursor, WindowMovesByWholeHalfHours)
{
    panel.m_guide->m_cursorTime = kStart + 4 * 1800 + 3600; // an hour past the window's span
    panel.KeepCursorVisible();
    EXPECT_EQ(model.m_gridStart, kStart + 2 * 1800);
    EXPECT_EQ(frame.refreshes, 1);
    panel.m_guide->m_cursorTime = kStart - 1; // a second before: back a whole half hour
    panel.KeepCursorVisible();
    EXPECT_EQ(model.m_gridStart, kStart - 1800);
    EXPECT_EQ(frame.refreshes, 2);
    panel.KeepCursorVisible();
    EXPECT_EQ(frame.refreshes, 2);

    // Far from the window it still lands in whole half hours, at once.
    panel.m_guide->m_cursorTime = kStart + 1000LL * 86400 + 10;
    panel.KeepCursorVisible();
    EXPECT_EQ((model.m_gridStart - kStart) % 1800, 0);
    EXPECT_LE(model.m_gridStart, panel.m_guide->m_cursorTime);
    EXPECT_GE(model.m_gridStart + 4 * 1800, panel.m_guide->m_cursorTime);
    EXPECT_LT(model.m_gridStart + 3 * 1800, panel.m_guide->m_cursorTime);

    // StampNow takes the guide's clock.
    panel.m_guide->m_clock = []() -> int64_t { return 1'234'567'890; };
    panel.StampNow();
    EXPECT_EQ(panel.m_guide->m_cursorTime, 1'234'567'890);
    CQOREPGPanel empty;
    empty.StampNow();
    empty.KeepCursorVisible();
}

} // namespace
