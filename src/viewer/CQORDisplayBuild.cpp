// CQORDisplay: the tree of the viewer's screens, built from the skin in drawing order.
#include <string>

#include "viewer/CQORDisplay.h"
#include "viewer/CommandIds.h"
#include "viewer/LoadLocalizedString.h"
#include "viewer/osd/ActiveCustomDrawControl.h"
#include "viewer/osd/Button.h"
#include "viewer/osd/ChannelLogo.h"
#include "viewer/osd/CheckListBox.h"
#include "viewer/osd/CustomDrawControl.h"
#include "viewer/osd/Header.h"
#include "viewer/osd/Image.h"
#include "viewer/osd/Label.h"
#include "viewer/osd/ListBox.h"
#include "viewer/osd/Memo.h"
#include "viewer/epg/ProgramGuide2.h"
#include "viewer/osd/PushButton.h"
#include "viewer/osd/RatioImage.h"
#include "viewer/osd/Seekbar.h"
#include "viewer/osd/Tabs.h"
#include "viewer/osd/TextButton.h"
#include "viewer/osd/TileImage.h"
#include "viewer/osd/Video.h"
#include "viewer/osd/VolumeBar.h"
#include "viewer/d3d/COSDFont.h"
#include "viewer/d3d/COSDTexture.h"
#include "viewer/panels/CQORBackgroundpanel.h"
#include "viewer/panels/CQORChannelLogoPanel.h"
#include "viewer/panels/CQORChannelsPanel.h"
#include "viewer/panels/CQORControlsPanel.h"
#include "viewer/panels/CQOREPGHeaderPanel.h"
#include "viewer/panels/CQOREPGPanel.h"
#include "viewer/panels/CQOREPGScrollPanel.h"
#include "viewer/panels/CQORInfoPanel.h"
#include "viewer/panels/CQORListHeaderPanel.h"
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
using namespace viewer;

namespace {

constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kCaptionBlue = 0xFF005FB7;
constexpr uint32_t kTimeScaleGrey = 0xFFCECECE;
constexpr int kAlignCentre = 2, kAlignRight = 3;

std::u16string U16(const std::wstring& text)
{
    return std::u16string(text.begin(), text.end());
}

std::u16string String(UINT id)
{
    return U16(LoadLocalizedString(id));
}

// Makes a child of the given parent: attached right after construction, as the tree is drawn in
// the order of creation.
template <class T> T* Add(Component* parent)
{
    T* child = new T();
    child->SetParent(parent);
    return child;
}

} // namespace

// Everything the builders below need of the display's lists.
struct SkinLookup {
    const TextureList& textures;
    const FontList& fonts;
    SkinTexture* Tex(const wchar_t* name) const { return textures.Lookup(name); }
    OsdFont* Font(const wchar_t* name) const { return fonts.Lookup(name); }

    template <class T> T* Picture(Component* parent, const wchar_t* texture) const
    {
        T* image = Add<T>(parent);
        image->SetTexture(Tex(texture));
        return image;
    }

    template <class B = Button> B* MakeButton(Component* parent, int id, const wchar_t* texture, bool repeat = false) const
    {
        B* button = Add<B>(parent);
        button->SetId(id);
        button->SetTexture(Tex(texture));
        button->m_repeat = repeat;
        return button;
    }

    Label* MakeLabel(Component* parent, const wchar_t* font, const std::u16string& text, uint32_t colour,
                     int alignment = 1) const
    {
        Label* label = Add<Label>(parent);
        label->SetFont(Font(font));
        label->m_colour = colour;
        label->m_alignment = alignment;
        label->SetText(text);
        return label;
    }

    TileImage* Tile(Component* parent, const wchar_t* texture) const
    {
        TileImage* tile = Add<TileImage>(parent);
        tile->SetTexture(Tex(texture));
        return tile;
    }

    // A header's tab strip: bold captions on the guide's coloured tab textures, latching tabs
    // with a separator between neighbours.
    Tabs* HeaderTabs(Component* parent, float tabWidth, const std::initializer_list<std::pair<UINT, int>>& tabs) const
    {
        Tabs* strip = Add<Tabs>(parent);
        strip->SetFont(Font(L"bold"));
        strip->SetTabTexture(0, Tex(L"epg\\tab-red"));
        strip->SetTabTexture(1, Tex(L"epg\\tab-green"));
        strip->SetTabTexture(2, Tex(L"epg\\tab-yellow"));
        strip->SetTabTexture(3, Tex(L"epg\\tab"));
        strip->SetSeparatorTexture(Tex(L"epg\\timeline_div"));
        strip->m_tabWidth = tabWidth;
        bool first = true;
        for (const auto& tab : tabs) {
            if (!first)
                strip->AddSeparator();
            first = false;
            strip->AddPushTextButton(String(tab.first), tab.second);
        }
        return strip;
    }

    template <class H>
    H* ListHeader(Component* parent, int closeId, float tabWidth,
                  const std::initializer_list<std::pair<UINT, int>>& tabs) const
    {
        H* header = Add<H>(parent);
        header->SetState(Panel::Shown); // follows its parent
        header->m_background = Picture<Image>(header, L"epg\\header");
        header->m_close = MakeButton(header, closeId, L"teletext_close");
        header->m_tabs = HeaderTabs(header, tabWidth, tabs);
        return header;
    }

    ListBox* List(Component* parent, int id, bool rowMajor) const
    {
        ListBox* list = Add<ListBox>(parent);
        list->SetId(id);
        list->SetFont(Font(L"normal"));
        list->m_textColour = kWhite;
        list->SetArrowTexture(Tex(L"scroll_arrows"));
        list->SetHighlightTexture(Tex(L"epg\\channel_selected"));
        list->m_rowMajor = rowMajor;
        return list;
    }
};

void CQORDisplay::BuildTree()
{
    const SkinLookup skin{m_textures, m_fonts};

    // 1. Background while there is no picture.
    m_background = Add<CQORBackgroundpanel>(this);
    m_background->m_background = skin.Picture<Image>(m_background, L"logo_background");
    m_background->m_makerLogo = skin.Picture<Image>(m_background, L"logo_harvo");

    // 2. The picture itself.
    m_video = Add<Video>(this);
    m_video->m_slot = 0;

    // 3-6. Status icons.
    CQORStatusIcon** icons[] = {&m_recordIcon, &m_scrambledIcon, &m_mutedIcon, &m_noDataIcon};
    const wchar_t* iconTextures[] = {L"rec_ico", L"scrambled_ico", L"muted_ico", L"nodata_ico"};
    for (int i = 0; i < 4; ++i) {
        *icons[i] = Add<CQORStatusIcon>(this);
        (*icons[i])->m_icon = skin.Picture<Image>(*icons[i], iconTextures[i]);
    }
    m_recordIconState = 0;

    // 7. Subtitles.
    m_subtitles = Add<CQORSubtitlePanel>(this);
    m_subtitles->m_overlay = Add<CustomDrawControl>(m_subtitles);
    m_subtitles->m_aspect = 4.0f / 3.0f;

    BuildTeletext();
    BuildGuide();

    // 12. Info bar.
    m_info = Add<CQORInfoPanel>(this);
    m_info->m_background = skin.Picture<Image>(m_info, L"info_bar");
    m_info->m_line0 = skin.MakeLabel(m_info, L"bold", u"", kBlack);
    m_info->m_line1 = skin.MakeLabel(m_info, L"normal", u"", kBlack);
    m_info->m_progress = skin.Picture<Seekbar>(m_info, L"progress");
    m_info->m_progress->SetPosition(0);
    m_info->m_multiAudioIcon = skin.Picture<Image>(m_info, L"icon_multiaudio");
    m_info->m_teletextIcon = skin.Picture<Image>(m_info, L"icon_teletext");
    m_info->m_subtitlesIcon = skin.Picture<Image>(m_info, L"icon_subtitles");
    m_info->m_multiAudioIcon->SetVisible(false);
    m_info->m_teletextIcon->SetVisible(false);
    m_info->m_subtitlesIcon->SetVisible(false);

    // 13. Channel logo and name.
    m_channelLogo = Add<CQORChannelLogoPanel>(this);
    m_channelLogo->SetDefaultLogo(skin.Tex(L"default_logo"));
    m_channelLogo->m_frame = skin.Picture<ChannelLogo>(m_channelLogo, L"channel_logo");
    m_channelLogo->m_logo = Add<RatioImage>(m_channelLogo);
    m_channelLogo->m_logo->SetTexture(m_channelLogo->GetLogoImage());
    m_channelLogo->m_name = skin.MakeLabel(m_channelLogo, L"bold", u"              ", kBlack);

    // 14. Transport controls.
    m_controls = Add<CQORControlsPanel>(this);
    m_controls->m_background = skin.Picture<Image>(m_controls, L"controls_back");
    m_controls->m_menu = skin.MakeButton(m_controls, CmdMenu, L"menu_button");
    m_controls->m_record = skin.MakeButton(m_controls, CmdRecord, L"rec_button");
    m_controls->m_play = skin.MakeButton(m_controls, CmdPlayPause, L"play_button");
    m_controls->m_volumeDown = skin.MakeButton(m_controls, CmdVolumeDown, L"volume_down", true);
    m_controls->m_volumeUp = skin.MakeButton(m_controls, CmdVolumeUp, L"volume_up", true);
    m_controls->m_channelUp = skin.MakeButton(m_controls, CmdChannelUp, L"channel_up");
    m_controls->m_channelDown = skin.MakeButton(m_controls, CmdChannelDown, L"channel_down");
    m_controls->m_mute = skin.MakeButton(m_controls, CmdMute, L"mute_button");

    // 15. Main menu.
    m_menu = Add<CQORMenu>(this);
    m_menu->m_background = skin.Picture<Image>(m_menu, L"menu_back");
    const std::pair<int, UINT> items[CQORMenu::kItems] = {{CmdChannelList, 134}, {CmdGuide, 135}, {CmdRecordedShows, 136}, {CmdTeletext, 137}, {CmdStreamSwitcher, 138}};
    for (int i = 0; i < CQORMenu::kItems; ++i) {
        TextButton* item = skin.MakeButton<TextButton>(m_menu, items[i].first, L"button");
        item->Caption()->SetFont(skin.Font(L"bold"));
        item->Caption()->m_colour = kBlack;
        item->SetText(String(items[i].second));
        m_menu->m_items[i] = item;
    }

    // 16. Top menu bar: momentary tabs.
    m_topMenu = Add<CQORMenuPanel>(this);
    m_topMenu->m_background = skin.Tile(m_topMenu, L"topMenu_back");
    m_topMenu->m_background->SetBorders(10, 10, 22, 0);
    m_topMenu->m_tabs = Add<Tabs>(m_topMenu);
    m_topMenu->m_tabs->SetFont(skin.Font(L"bold"));
    m_topMenu->m_tabs->m_tabWidth = 90;
    for (int i = 0; i < 4; ++i)
        m_topMenu->m_tabs->SetTabTexture(i, skin.Tex(L"topmenu_button"));
    m_topMenu->m_tabs->SetSeparatorTexture(skin.Tex(L"epg\\timeline_div"));
    const std::pair<UINT, int> menus[] = {{173, CmdFilePopup}, {174, CmdViewPopup}, {175, CmdChannelsPopup}};
    for (int i = 0; i < 3; ++i) {
        if (i)
            m_topMenu->m_tabs->AddSeparator();
        m_topMenu->m_tabs->AddTextButton(String(menus[i].first), menus[i].second);
    }

    // 17. Window buttons.
    m_topButtons = Add<CQORTopPanel>(this);
    m_topButtons->m_background = skin.Picture<Image>(m_topButtons, L"topControls_back");
    m_topButtons->m_alwaysOnTop = skin.MakeButton<PushButton>(m_topButtons, CmdAlwaysOnTop, L"always_on_top");
    m_topButtons->m_alwaysOnTop->SetPushed(false);
    m_topButtons->m_minimise = skin.MakeButton(m_topButtons, CmdMinimise, L"minimize");
    m_topButtons->m_maximise = skin.MakeButton(m_topButtons, CmdMaximise, L"maximize");
    m_topButtons->m_close = skin.MakeButton(m_topButtons, CmdClose, L"close");

    // 18. Volume.
    m_volume = Add<CQORVolumePanel>(this);
    m_volume->m_volumeBar = skin.Picture<VolumeBar>(m_volume, L"volume");
    m_volume->m_volumeBar->m_value = 0;
    m_volume->m_volumeBar->m_segmentAspect = 3.0f;

    BuildLists();
}

void CQORDisplay::BuildTeletext()
{
    const SkinLookup skin{m_textures, m_fonts};
    // 8. Teletext page with its header bar.
    m_teletext = Add<CQORTeletextPanel>(this);
    CQORTeletextPanel& t = *m_teletext;
    t.m_header = skin.Picture<Image>(m_teletext, L"epg\\header");
    t.m_page = Add<ActiveCustomDrawControl>(m_teletext);
    t.m_firstBlock = skin.Tile(m_teletext, L"teletext\\block");
    t.m_firstBlock->SetBorders(18, 18, 13, 14);
    t.m_secondBlock = skin.Tile(m_teletext, L"teletext\\block");
    t.m_secondBlock->SetBorders(18, 18, 13, 14);
    t.m_close = skin.MakeButton(m_teletext, CmdTeletextClose, L"teletext_close");
    t.m_back = skin.MakeButton(m_teletext, CmdTeletextFirst, L"teletext\\back");
    t.m_next = skin.MakeButton(m_teletext, CmdTeletextNext, L"teletext\\next");
    t.m_previous = skin.MakeButton(m_teletext, CmdTeletextPrevious, L"teletext\\prev");
    t.m_firstSeparator = skin.Picture<Image>(m_teletext, L"teletext\\separator");
    t.m_secondSeparator = skin.Picture<Image>(m_teletext, L"teletext\\separator");
    t.m_pageNumber = skin.MakeLabel(m_teletext, L"bold", u"100", kBlack);
    t.m_clock = skin.MakeLabel(m_teletext, L"bold", u"8 Sep 2006     9:43", kBlack, kAlignCentre);
}

void CQORDisplay::BuildGuide()
{
    const SkinLookup skin{m_textures, m_fonts};
    // 9. Programme guide.
    m_guide = Add<CQOREPGPanel>(this);
    m_guide->SetFrame(m_panelFrame);
    CQOREPGPanel& g = *m_guide;
    g.m_background = skin.Tile(m_guide, L"epg\\epg_back");
    g.m_smallScreenFrame = skin.Picture<Image>(m_guide, L"epg\\small_screen");
    g.m_preview = Add<Video>(m_guide);
    g.m_preview->m_slot = 0;
    g.m_hint = skin.Picture<Image>(m_guide, L"epg\\hint");
    g.m_titleValue = skin.MakeLabel(m_guide, L"bold", u"", kBlack);
    g.m_genreValue = skin.MakeLabel(m_guide, L"bold", u"", kBlack);
    g.m_description = Add<Memo>(m_guide);
    g.m_description->SetFont(skin.Font(L"normal"));
    g.m_description->m_lineHeight = 26;
    g.m_description->SetText(u"");
    g.m_programCaption = skin.MakeLabel(m_guide, L"bold", String(159), kCaptionBlue, kAlignRight);
    g.m_genreCaption = skin.MakeLabel(m_guide, L"bold", String(160), kCaptionBlue, kAlignRight);
    g.m_infoCaption = skin.MakeLabel(m_guide, L"bold", String(161), kCaptionBlue, kAlignRight);
    g.m_guide = Add<ProgramGuide2>(m_guide);
    g.m_guide->SetChannelTexture(skin.Tex(L"epg\\channel"));
    g.m_guide->SetCornerTexture(skin.Tex(L"epg\\corner"));
    g.m_guide->SetNowTexture(skin.Tex(L"epg\\cur_time"));
    g.m_guide->SetSelectedTexture(skin.Tex(L"epg\\channel_selected"));
    g.m_guide->SetFont(skin.Font(L"normal"));
    g.m_guide->SetModel(m_guideModel);

    // 10. Its header: time scale and the list tabs.
    g.m_header = Add<CQOREPGHeaderPanel>(m_guide);
    CQOREPGHeaderPanel& h = *g.m_header;
    h.SetState(Panel::Shown);
    h.m_background = skin.Picture<Image>(g.m_header, L"epg\\header");
    h.m_close = skin.MakeButton(g.m_header, CmdGuideClose, L"teletext_close");
    h.m_timeScale = Add<Header>(g.m_header);
    h.m_timeScale->SetFont(skin.Font(L"bold"));
    h.m_timeScale->SetSeparatorTexture(skin.Tex(L"epg\\timeline_div"));
    h.m_timeScale->m_separatorWidth = 1.0f / 11.0f;
    h.m_timeScale->m_barColour = kTimeScaleGrey;
    h.m_tabs = skin.HeaderTabs(g.m_header, 128, {{155, CmdGuideFavourites}, {156, CmdGuideTV}, {157, CmdGuideRadio}, {158, CmdGuideNetwork}});

    // 11. Its scroll pad.
    g.m_scrollPad = Add<CQOREPGScrollPanel>(m_guide);
    CQOREPGScrollPanel& p = *g.m_scrollPad;
    p.m_background = skin.Picture<Image>(g.m_scrollPad, L"epg\\scroll_back");
    p.SetState(Panel::Shown);
    p.m_left = skin.MakeButton(g.m_scrollPad, CmdGuideEarlier, L"epg\\scroll_left", true);
    p.m_down = skin.MakeButton(g.m_scrollPad, CmdGuideRowsDown, L"epg\\scroll_down", true);
    p.m_up = skin.MakeButton(g.m_scrollPad, CmdGuideRowsUp, L"epg\\scroll_up", true);
    p.m_right = skin.MakeButton(g.m_scrollPad, CmdGuideLater, L"epg\\scroll_right", true);
    p.m_centre = skin.MakeButton(g.m_scrollPad, CmdGuideNow, L"epg\\scroll_center", true);
}

void CQORDisplay::BuildLists()
{
    const SkinLookup skin{m_textures, m_fonts};

    // 19. Stream switcher.
    m_switcher = Add<CQORSwitcherPanel>(this);
    m_switcher->m_background = skin.Tile(m_switcher, L"epg\\epg_back");
    m_switcher->m_list = Add<CheckListBox>(m_switcher);
    m_switcher->m_list->SetFont(skin.Font(L"normal"));
    m_switcher->m_list->m_textColour = kWhite;
    m_switcher->m_list->SetCheckTexture(skin.Tex(L"radio_box"));
    m_switcher->m_list->SetArrowTexture(skin.Tex(L"scroll_arrows"));
    m_switcher->m_list->SetHighlightTexture(skin.Tex(L"epg\\channel_selected"));
    m_switcher->m_header = skin.ListHeader<CQORSwitcherHeaderPanel>(m_switcher, CmdSwitcherClose, 128, {{153, CmdSwitcherAudio}, {154, CmdSwitcherSubtitles}});

    // 20. Recorded shows.
    m_recorded = Add<CQORRecordedPanel>(this);
    m_recorded->m_background = skin.Tile(m_recorded, L"epg\\epg_back");
    m_recorded->m_list = skin.List(m_recorded, ListRecorded, false);
    m_recorded->m_header = skin.ListHeader<CQORRecordedHeaderPanel>(m_recorded, CmdRecordedClose, 160, {{150, CmdRecordedTab}});
    m_recorded->SetState(Panel::Hidden);

    // 21. Channel list.
    m_channels = Add<CQORChannelsPanel>(this);
    m_channels->m_background = skin.Tile(m_channels, L"epg\\epg_back");
    m_channels->m_list = skin.List(m_channels, ListChannels, false);
    m_channels->m_header =
        skin.ListHeader<CQORChannelsHeaderPanel>(m_channels, CmdChannelListClose, 96, {{155, CmdChannelListFavourites}, {156, CmdChannelListTV}, {157, CmdChannelListRadio}, {158, CmdChannelListNetwork}});
    m_channels->SetState(Panel::Hidden);

    // 22. Tune panel: the typed number over a list of channels.
    m_tune = Add<CQORTunePanel>(this);
    m_tune->SetFrame(m_panelFrame);
    m_tune->m_upperBackground = skin.Tile(m_tune, L"epg\\epg_back");
    m_tune->m_lowerBackground = skin.Tile(m_tune, L"epg\\epg_back");
    m_tune->m_channelList = skin.List(m_tune, ListTune, true);
    m_tune->m_numberLabel = skin.MakeLabel(m_tune, L"big", u"", kWhite, kAlignRight);
}

void CQORDisplay::LinkMenuKeys()
{
    if (!m_menu)
        return;
    for (int i = 0; i < CQORMenu::kItems; ++i) {
        MenuLink link;
        link.up = i > 0 ? m_menu->m_items[i - 1] : nullptr;
        link.down = i + 1 < CQORMenu::kItems ? m_menu->m_items[i + 1] : nullptr;
        m_menu->SetLink(m_menu->m_items[i], link);
    }
}
