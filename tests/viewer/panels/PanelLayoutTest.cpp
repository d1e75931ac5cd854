// Every panel's layout table, at the full-size scale and at the scale of the smallest client (320 x
// 240), and the layouts of empty and negative panels.
#include "PanelTestSupport.h"

#include "support/FakeGlyphs.h"

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

using namespace OnScreenDisplay;
using namespace PanelTest;

namespace {

class PanelLayout : public PanelFixture, public ::testing::WithParamInterface<float> {
protected:
    void SetUp() override
    {
        PanelFixture::SetUp();
        s = GetParam();
        SetScale(s);
    }
    float s = 1;
};

TEST_P(PanelLayout, ControlsPanel)
{
    CQORControlsPanel panel;
    panel.m_background = Add<Image>(panel, "background");
    panel.m_menu = Add<Button>(panel, "menu");
    panel.m_record = Add<Button>(panel, "record");
    panel.m_play = Add<Button>(panel, "play");
    panel.m_volumeUp = Add<Button>(panel, "volume up");
    panel.m_volumeDown = Add<Button>(panel, "volume down");
    panel.m_channelUp = Add<Button>(panel, "channel up");
    panel.m_channelDown = Add<Button>(panel, "channel down");
    panel.m_mute = Add<Button>(panel, "mute");
    panel.SetRect(10, 20, 10 + 380 * s, 20 + 90 * s);
    panel.Layout();
    ExpectRect(panel.m_background, 0, 0, 380 * s, 90 * s, "background");
    ExpectRect(panel.m_menu, 17 * s, 28 * s, 86 * s, 63 * s, "menu");
    ExpectRect(panel.m_record, 86 * s, 28 * s, 155 * s, 63 * s, "record");
    ExpectRect(panel.m_play, 155 * s, 28 * s, 224 * s, 63 * s, "play");
    ExpectRect(panel.m_volumeUp, 244 * s, 3 * s, 346 * s, 48 * s, "volume up");
    ExpectRect(panel.m_volumeDown, 244 * s, 43 * s, 346 * s, 88 * s, "volume down");
    ExpectRect(panel.m_channelDown, 233 * s, 16 * s, 290 * s, 74 * s, "channel down");
    ExpectRect(panel.m_channelUp, 300 * s, 16 * s, 357 * s, 74 * s, "channel up");
    ExpectRect(panel.m_mute, 218 * s, 62 * s, 244 * s, 88 * s, "mute");

    // Without a record button play moves up to directly after menu.
    panel.m_record = nullptr;
    panel.Layout();
    ExpectRect(panel.m_play, 86 * s, 28 * s, 155 * s, 63 * s, "play without record");
}

TEST_P(PanelLayout, InfoMenuBarsAndIcons)
{
    const float W = 1000 * s, H = 100 * s;
    CQORInfoPanel info;
    info.m_background = Add<Image>(info, "background");
    info.m_line0 = Add<Label>(info, "line 0");
    info.m_line1 = Add<Label>(info, "line 1");
    info.m_progress = Add<Seekbar>(info, "progress");
    info.m_multiAudioIcon = Add<Image>(info, "audio");
    info.m_teletextIcon = Add<Image>(info, "teletext");
    info.m_subtitlesIcon = Add<Image>(info, "subtitles");
    info.SetRect(0, 0, W, H);
    info.Layout();
    ExpectRect(info.m_line0, 370 * s, 12 * s, W - 158 * s, 36 * s, "line 0");
    ExpectRect(info.m_line1, 370 * s, 40 * s, W - 158 * s, 64 * s, "line 1");
    ExpectRect(info.m_progress, 332 * s, 0, W - 158 * s, 5 * s, "progress");
    ExpectRect(info.m_multiAudioIcon, W - 140 * s, H - 40 * s, W - 105 * s, H - 10 * s, "audio");
    ExpectRect(info.m_teletextIcon, W - 100 * s, H - 40 * s, W - 65 * s, H - 10 * s, "teletext");
    ExpectRect(info.m_subtitlesIcon, W - 60 * s, H - 40 * s, W - 25 * s, H - 10 * s, "subtitles");

    CQORMenu menu;
    menu.m_background = Add<Image>(menu, "background");
    for (int i = 0; i < CQORMenu::kItems; ++i)
        if (i != 1)
            menu.m_items[i] = Add<TextButton>(menu, "item");
    menu.SetRect(0, 0, 251 * s, 300 * s);
    menu.Layout();
    ExpectRect(menu.m_background, 0, 0, 251 * s, 300 * s, "menu background");
    ExpectRect(menu.m_items[0], 10 * s, 32 * s, 241 * s, 76 * s, "item 0");
    ExpectRect(menu.m_items[2], 10 * s, 84 * s, 241 * s, 128 * s, "item 2 after a missing item 1");
    ExpectRect(menu.m_items[4], 10 * s, 188 * s, 241 * s, 232 * s, "item 4");

    CQORMenuPanel bar;
    bar.m_background = Add<TileImage>(bar, "background");
    bar.m_tabs = Add<Tabs>(bar, "tabs");
    bar.SetRect(0, 0, 400 * s, 40 * s);
    bar.Layout();
    ExpectRect(bar.m_tabs, 4 * s, 4 * s, 396 * s, 36 * s, "tabs inset by a tenth of the height");

    CQORTopPanel top;
    top.m_background = Add<Image>(top, "background");
    top.m_alwaysOnTop = Add<PushButton>(top, "on top");
    top.m_minimise = Add<Button>(top, "minimise");
    top.m_maximise = Add<Button>(top, "maximise");
    top.m_close = Add<Button>(top, "close");
    top.SetRect(0, 0, 162 * s, 33 * s);
    top.Layout();
    ExpectRect(top.m_alwaysOnTop, 5 * s, 6 * s, 40 * s, 27 * s, "on top");
    ExpectRect(top.m_minimise, 44 * s, 6 * s, 79 * s, 27 * s, "minimise");
    ExpectRect(top.m_maximise, 83 * s, 6 * s, 118 * s, 27 * s, "maximise");
    ExpectRect(top.m_close, 122 * s, 6 * s, 157 * s, 27 * s, "close");

    CQORBackgroundpanel background;
    background.m_background = Add<Image>(background, "background");
    background.m_makerLogo = Add<Image>(background, "logo");
    background.SetRect(0, 0, 1000 * s, 800 * s);
    background.Layout();
    ExpectRect(background.m_makerLogo, 244 * s, 144 * s, 756 * s, 656 * s, "maker logo");

    CQORStatusIcon icon;
    icon.m_icon = Add<Image>(icon, "icon");
    CQORVolumePanel volume;
    volume.m_volumeBar = Add<VolumeBar>(volume, "bar");
    icon.SetSize(48, 32);
    volume.SetSize(300, 20);
    ExpectRect(icon.m_icon, 0, 0, 48, 32, "icon");
    ExpectRect(volume.m_volumeBar, 0, 0, 300, 20, "volume bar");
}

TEST_P(PanelLayout, ChannelLogoNameFitsItsText)
{
    CQORChannelLogoPanel panel;
    panel.m_frame = Add<ChannelLogo>(panel, "frame");
    panel.m_logo = Add<RatioImage>(panel, "logo");
    panel.m_name = Add<Label>(panel, "name");
    panel.SetRect(0, 0, 500 * s, 120 * s);
    panel.Layout();
    ExpectRect(panel.m_frame, 0, 0, 500 * s, 120 * s, "frame");
    ExpectRect(panel.m_logo, 354 * s, 10 * s, 486 * s, 110 * s, "logo");
    // The label has no font here, so its text measures 0 x 0 (as an empty name does): no width, and
    // no division by the zero height.
    panel.m_name->SetText(u"");
    panel.Layout();
    ExpectRect(panel.m_name, 32 * s, 71 * s, 32 * s, 95 * s, "empty name");

    // With a font the box fits the text at its height plus one height of margin: a text 20 font
    // pixels high in a box 24 S high is drawn at 1.2 S a font pixel.
    RecordingFont font;
    panel.m_name->SetFont(&font);
    panel.m_name->SetText(u"Channel");
    panel.Layout();
    const int textWidth = panel.m_name->GetString().GetWidth();
    ASSERT_EQ(panel.m_name->GetString().GetHeight(), 20);
    ASSERT_GT(textWidth, 60);
    ExpectRect(panel.m_name, 32 * s, 71 * s, 32 * s + (textWidth + 20) * 1.2f * s, 95 * s, "name");
}

TEST_P(PanelLayout, TunePanel)
{
    CQORTunePanel panel;
    panel.m_upperBackground = Add<TileImage>(panel, "upper");
    panel.m_lowerBackground = Add<TileImage>(panel, "lower");
    panel.m_channelList = Add<ListBox>(panel, "list");
    panel.m_numberLabel = Add<Label>(panel, "number");
    const float W = 300 * s, H = 500 * s;
    panel.SetRect(0, 0, W, H);
    panel.Layout();
    ExpectRect(panel.m_upperBackground, 0, 0, W, 80 * s, "upper");
    ExpectRect(panel.m_numberLabel, 16 * s, 8 * s, W - 16 * s, 72 * s, "number");
    ExpectRect(panel.m_lowerBackground, 0, 88 * s, W, H, "lower");
    ExpectRect(panel.m_channelList, 8 * s, 96 * s, W - 8 * s, H - 8 * s, "list");
}

TEST_P(PanelLayout, GuidePanel)
{
    CQOREPGPanel panel;
    panel.m_guide = Add<ProgramGuide2>(panel, "guide");
    panel.m_background = Add<TileImage>(panel, "background");
    panel.m_hint = Add<Image>(panel, "hint");
    panel.m_smallScreenFrame = Add<Image>(panel, "frame");
    panel.m_preview = Add<Video>(panel, "preview");
    panel.m_titleValue = Add<Label>(panel, "title");
    panel.m_programCaption = Add<Label>(panel, "Program:");
    panel.m_genreValue = Add<Label>(panel, "genre");
    panel.m_genreCaption = Add<Label>(panel, "Genre:");
    panel.m_description = Add<Memo>(panel, "description");
    panel.m_infoCaption = Add<Label>(panel, "Info:");
    panel.m_scrollPad = Add<CQOREPGScrollPanel>(panel, "pad");
    panel.m_header = Add<CQOREPGHeaderPanel>(panel, "header");
    auto* header = panel.m_header;
    header->m_background = Add<Image>(*header, "header background");
    header->m_timeScale = Add<Header>(*header, "time scale");
    header->m_tabs = Add<Tabs>(*header, "tabs");
    header->m_close = Add<Button>(*header, "close");
    auto* pad = panel.m_scrollPad;
    pad->m_background = Add<Image>(*pad, "pad background");
    pad->m_left = Add<Button>(*pad, "left");
    pad->m_up = Add<Button>(*pad, "up");
    pad->m_down = Add<Button>(*pad, "down");
    pad->m_right = Add<Button>(*pad, "right");
    pad->m_centre = Add<Button>(*pad, "centre");
    const float W = 1800 * s, H = 1000 * s;
    panel.SetRect(0, 0, W, H);
    panel.Layout();
    ExpectRect(panel.m_background, 0, 0, W, H - 208 * s, "background");
    ExpectRect(panel.m_header, 5 * s, 5 * s, W - 5 * s, 63 * s, "header");
    ExpectRect(panel.m_hint, 1 * s, H - 200 * s, W, H, "hint");
    ExpectRect(panel.m_titleValue, 554 * s, H - 188 * s, W - 20 * s, H - 156 * s, "title");
    ExpectRect(panel.m_genreValue, 554 * s, H - 150 * s, W - 20 * s, H - 124 * s, "genre");
    ExpectRect(panel.m_description, 554 * s, H - 116 * s, W - 20 * s, H - 30 * s, "description");
    ExpectRect(panel.m_programCaption, 404 * s, H - 188 * s, 534 * s, H - 156 * s, "Program:");
    ExpectRect(panel.m_genreCaption, 404 * s, H - 150 * s, 534 * s, H - 124 * s, "Genre:");
    ExpectRect(panel.m_infoCaption, 404 * s, H - 116 * s, 534 * s, H - 90 * s, "Info:");
    ExpectRect(panel.m_smallScreenFrame, -6 * s, H - 301.5f * s, 395.25f * s, H + 12 * s, "frame");
    ExpectRect(panel.m_preview, 11.25f * s, H - 285 * s, 372 * s, H - 12 * s, "preview without an aspect");
    ExpectRect(panel.m_scrollPad, W - 106.4f * s, 64 * s, W - 4 * s, 166.4f * s, "pad");
    ExpectRect(panel.m_guide, 5 * s, 63 * s, W - 5 * s, H - 213 * s, "guide");

    // A 16:9 picture is letter-boxed in the preview's box (360.75 x 273 skin pixels).
    panel.m_videoAspect = 16.0f / 9.0f;
    panel.Layout();
    const float boxW = 360.75f * s, boxMid = H - 148.5f * s, h = boxW * 9 / 16;
    ExpectRect(panel.m_preview, 11.25f * s, boxMid - h / 2, 372 * s, boxMid + h / 2, "16:9 preview");

    const float hw = W - 10 * s;
    ExpectRect(header->m_timeScale, 0, 29 * s, hw, 57 * s, "time scale");
    ExpectRect(header->m_background, 0, 0, hw, 32 * s, "header background");
    ExpectRect(header->m_close, hw - 26 * s, 4 * s, hw - 6 * s, 24 * s, "close");
    ExpectRect(header->m_tabs, 6 * s, 6.5f * s, hw - 26 * s, 28.5f * s, "tabs");

    const float p = 102.4f * s;
    ExpectRect(pad->m_background, 12.8f * s, 12.8f * s, 89.6f * s, 89.6f * s, "pad background");
    ExpectRect(pad->m_left, 0, (p - 29.6f * s) / 2, 40 * s, (p + 29.6f * s) / 2, "left");
    ExpectRect(pad->m_right, p - 40 * s, (p - 29.6f * s) / 2, p, (p + 29.6f * s) / 2, "right");
    ExpectRect(pad->m_centre, 42 * s, 42 * s, 60.4f * s, 60.4f * s, "centre");
    ExpectRect(pad->m_up, 36.4f * s, 0, 66 * s, 37.6f * s, "up");
    ExpectRect(pad->m_down, 36.4f * s, p - 37.6f * s, 66 * s, p, "down");

    // Without the hint its texts keep their places.
    panel.m_hint = nullptr;
    panel.m_titleValue->SetRect(1, 2, 3, 4);
    panel.Layout();
    ExpectRect(panel.m_titleValue, 1, 2, 3, 4, "title without the hint");
}

TEST_P(PanelLayout, TeletextHeaderFollowsThePage)
{
    CQORTeletextPanel panel;
    panel.m_page = Add<ActiveCustomDrawControl>(panel, "page");
    panel.m_close = Add<Button>(panel, "close");
    panel.m_header = Add<Image>(panel, "header");
    panel.m_firstBlock = Add<TileImage>(panel, "first block");
    panel.m_back = Add<Button>(panel, "back");
    panel.m_firstSeparator = Add<Image>(panel, "first separator");
    panel.m_next = Add<Button>(panel, "next");
    panel.m_secondSeparator = Add<Image>(panel, "second separator");
    panel.m_previous = Add<Button>(panel, "previous");
    panel.m_secondBlock = Add<TileImage>(panel, "second block");
    panel.m_pageNumber = Add<Label>(panel, "page number");
    panel.m_clock = Add<Label>(panel, "clock");
    panel.SetRect(0, 0, 1000 * s, 780 * s);
    panel.Layout();
    ExpectRect(panel.m_page, 0, 30 * s, 1000 * s, 780 * s, "page 1000 x 750");
    ExpectRect(panel.m_header, 0, 0, 1000 * s, 32 * s, "header as wide as the page");

    // Very wide: the page is centred and the bar follows it.
    panel.SetRect(0, 0, 3000 * s, 780 * s);
    panel.Layout();
    const float x = 1000 * s, r = 2000 * s;
    ExpectRect(panel.m_page, x, 30 * s, r, 780 * s, "centred page");
    ExpectRect(panel.m_header, x, 0, r, 32 * s, "header");
    ExpectRect(panel.m_pageNumber, x + 8 * s, 1 * s, x + 72 * s, 27 * s, "page number");
    ExpectRect(panel.m_firstBlock, x + 74 * s, 0, x + 204 * s, 32 * s, "first block");
    ExpectRect(panel.m_back, x + 76 * s, 4 * s, x + 117 * s, 24 * s, "back");
    ExpectRect(panel.m_firstSeparator, x + 117 * s, 0, x + 120 * s, 32 * s, "first separator");
    ExpectRect(panel.m_previous, x + 120 * s, 4 * s, x + 158 * s, 24 * s, "previous");
    ExpectRect(panel.m_secondSeparator, x + 158 * s, 0, x + 161 * s, 32 * s, "second separator");
    ExpectRect(panel.m_next, x + 161 * s, 4 * s, x + 202 * s, 24 * s, "next");
    ExpectRect(panel.m_secondBlock, r - 326 * s, 0, r - 56 * s, 32 * s, "second block");
    ExpectRect(panel.m_clock, r - 326 * s, 3 * s, r - 56 * s, 25 * s, "clock");
    ExpectRect(panel.m_close, r - 26 * s, 4 * s, r - 6 * s, 24 * s, "close");

    CQORSubtitlePanel subtitles;
    subtitles.m_overlay = Add<CustomDrawControl>(subtitles, "overlay");
    subtitles.m_aspect = 16.0f / 9.0f;
    subtitles.SetRect(0, 0, 1600 * s, 1000 * s);
    subtitles.Layout();
    ExpectRect(subtitles.m_overlay, 0, 50 * s, 1600 * s, 950 * s, "overlay over the picture");
}

TEST_P(PanelLayout, ListScreens)
{
    CQORSwitcherPanel switcher;
    switcher.m_background = Add<TileImage>(switcher, "background");
    switcher.m_list = Add<CheckListBox>(switcher, "list");
    switcher.m_header = Add<CQORSwitcherHeaderPanel>(switcher, "header");
    switcher.SetRect(0, 0, 600 * s, 400 * s);
    switcher.Layout();
    ExpectRect(switcher.m_background, 0, 0, 600 * s, 400 * s, "background");
    ExpectRect(switcher.m_header, 5 * s, 5 * s, 595 * s, 35 * s, "header");
    ExpectRect(switcher.m_list, 15 * s, 45 * s, 585 * s, 385 * s, "list");

    CQORRecordedPanel recorded;
    recorded.m_background = Add<TileImage>(recorded, "background");
    recorded.m_list = Add<ListBox>(recorded, "list");
    recorded.m_header = Add<CQORRecordedHeaderPanel>(recorded, "header");
    recorded.m_header->m_background = Add<Image>(*recorded.m_header, "header background");
    recorded.m_header->m_tabs = Add<Tabs>(*recorded.m_header, "tabs");
    recorded.m_header->m_close = Add<Button>(*recorded.m_header, "close");
    recorded.SetRect(0, 0, 1600 * s, 700 * s);
    // Row by row the first shown item is aligned to whole rows of columns: 5 becomes 4.
    recorded.m_list->m_rowMajor = true;
    recorded.m_list->m_top = 5;
    recorded.Layout();
    EXPECT_EQ(recorded.m_list->m_columns, 2);
    EXPECT_EQ(recorded.m_list->m_top, 4);
    ExpectRect(recorded.m_list, 15 * s, 45 * s, 1585 * s, 685 * s, "list");
    ExpectRect(recorded.m_header->m_background, 0, 0, 1590 * s, 32 * s, "header background");
    ExpectRect(recorded.m_header->m_close, 1564 * s, 4 * s, 1584 * s, 24 * s, "close");
    ExpectRect(recorded.m_header->m_tabs, 6 * s, 6.5f * s, 1564 * s, 28.5f * s, "tabs");

    // Column by column (as the display builds these lists) it scrolls by R rows: 640 S of list
    // height at 34 S a row hold 18 rows, so 25 becomes 18.
    CQORChannelsPanel channels;
    channels.m_list = Add<ListBox>(channels, "list");
    channels.m_list->m_rowMajor = false;
    channels.m_list->m_top = 25;
    channels.SetRect(0, 0, 1600 * s, 700 * s);
    channels.Layout();
    EXPECT_EQ(channels.m_list->m_columns, 2);
    EXPECT_EQ(channels.m_list->VisibleRows(), 18);
    EXPECT_EQ(channels.m_list->m_top, 18);

    channels.SetRect(0, 0, 2430 * s, 700 * s);
    channels.Layout();
    EXPECT_EQ(channels.m_list->m_columns, 3);
    channels.SetRect(0, 0, 2431 * s, 700 * s);
    channels.Layout();
    EXPECT_EQ(channels.m_list->m_columns, 4);
}

INSTANTIATE_TEST_SUITE_P(Scales, PanelLayout, ::testing::Values(1.0f, 0.448f));

// A minimised window lays the display out at 0 x 0, and negative sizes reach the panels: every
// layout must still hold (no division by zero columns, no out-of-range conversion).
TEST_F(PanelFixture, EmptyAndNegativeSizes)
{
    CQORRecordedPanel recorded;
    recorded.m_list = Add<ListBox>(recorded, "list");
    recorded.m_list->m_top = 7;
    CQORChannelLogoPanel logo;
    logo.m_name = Add<Label>(logo, "name");
    CQORTeletextPanel teletext;
    teletext.m_page = Add<ActiveCustomDrawControl>(teletext, "page");
    teletext.m_close = Add<Button>(teletext, "close");
    CQOREPGPanel guide;
    guide.m_preview = Add<Video>(guide, "preview");
    guide.m_videoAspect = 16.0f / 9.0f;
    for (float scale : {1.0f, 0.0f}) {
        SetScale(scale);
        for (float w : {0.0f, -500.0f}) {
            for (Panel* panel : std::initializer_list<Panel*>{&recorded, &logo, &teletext, &guide}) {
                panel->SetRect(0, 0, w, w);
                panel->Layout();
            }
            EXPECT_EQ(recorded.m_list->m_columns, 1);
            EXPECT_GE(recorded.m_list->m_top, 0);
        }
    }
}

} // namespace
