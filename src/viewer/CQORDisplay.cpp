#include "viewer/CQORDisplay.h"

#include "viewer/DisplayLayout.h"
#include "viewer/ViewerGlobals.h"
#include "viewer/d3d/CD3DHandler.h"
#include "viewer/osd/Clock.h"
#include "viewer/osd/Scale.h"
#include "viewer/osd/Video.h"
#include "viewer/d3d/COSDTexture.h"
#include "viewer/panels/CQORBackgroundpanel.h"
#include "viewer/panels/CQORChannelLogoPanel.h"
#include "viewer/panels/CQORChannelsPanel.h"
#include "viewer/panels/CQORControlsPanel.h"
#include "viewer/panels/CQOREPGHeaderPanel.h"
#include "viewer/panels/CQOREPGPanel.h"
#include "viewer/panels/CQOREPGScrollPanel.h"
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

using OnScreenDisplay::Panel;

const CQORDisplay::SkinImage CQORDisplay::kSkinImages[67] = {
    {L"controls_back", L"controls_back.png", 1},
    {L"channel_logo", L"channel_logo.png", 1},
    {L"info_bar", L"infobar.png", 1},
    {L"menu_back", L"menu_back.png", 1},
    {L"topMenu_back", L"topMenu_back.png", 1},
    {L"topControls_back", L"topControls_back.png", 1},
    {L"progress", L"progress.png", 1},
    {L"teletext_close", L"teletext_close.png", 5},
    {L"logo_background", L"logo_background.png", 1},
    {L"logo_harvo", L"logo_harvo.png", 1},
    {L"volume", L"volume.png", 2},
    {L"default_logo", L"default_logo.png", 1},
    {L"epg\\small_screen", L"epg\\small_screen.png", 1},
    {L"epg\\hint", L"epg\\hint_bck.png", 1},
    {L"epg\\header", L"epg\\timeline_back.png", 1},
    {L"epg\\channel", L"epg\\channel_back.png", 1},
    {L"epg\\channel_selected", L"epg\\channel_selected.png", 1},
    {L"epg\\epg_back", L"epg\\epg_back.png", 1},
    {L"epg\\separator", L"epg\\timeline_div.png", 1},
    {L"epg\\corner", L"epg\\corner.png", 1},
    {L"epg\\cur_time", L"epg\\cur_time.png", 2},
    {L"epg\\timeline_div", L"epg\\timeline_div.png", 1},
    {L"epg\\tab", L"epg\\tab.png", 5},
    {L"epg\\tab-yellow", L"epg\\tab-yellow.png", 5},
    {L"epg\\tab-green", L"epg\\tab-green.png", 5},
    {L"epg\\tab-red", L"epg\\tab-red.png", 5},
    {L"play_button", L"buttons\\play.png", 5},
    {L"pause_button", L"buttons\\pause.png", 5},
    {L"timeshift_button", L"buttons\\timeshift.png", 5},
    {L"stop_button", L"buttons\\stop.png", 5},
    {L"menu_button", L"buttons\\menu.png", 5},
    {L"rec_button", L"buttons\\rec.png", 5},
    {L"mute_button", L"buttons\\mute.png", 5},
    {L"button", L"menu\\button.png", 5},
    {L"channel_down", L"buttons\\channel_down.png", 5},
    {L"channel_up", L"buttons\\channel_up.png", 5},
    {L"volume_down", L"buttons\\volume_down.png", 5},
    {L"volume_up", L"buttons\\volume_up.png", 5},
    {L"channels", L"menu\\channels.png", 5},
    {L"file", L"menu\\file.png", 5},
    {L"view", L"menu\\view.png", 5},
    {L"topmenu_button", L"menu\\menu_button.png", 5},
    {L"always_on_top", L"menu\\always_on_top.png", 5},
    {L"minimize", L"menu\\minimize.png", 5},
    {L"maximize", L"menu\\maximize.png", 5},
    {L"close", L"menu\\close.png", 5},
    {L"epg\\scroll_left", L"epg\\scrl_left.png", 5},
    {L"epg\\scroll_right", L"epg\\scrl_right.png", 5},
    {L"epg\\scroll_down", L"epg\\scrl_down.png", 5},
    {L"epg\\scroll_up", L"epg\\scrl_up.png", 5},
    {L"epg\\scroll_back", L"epg\\scrl_back.png", 1},
    {L"epg\\scroll_center", L"epg\\center.png", 5},
    {L"rec_ico", L"rec_ico.png", 1},
    {L"timeshift_ico", L"timeshift_ico.png", 1},
    {L"scrambled_ico", L"scrambled_ico.png", 1},
    {L"muted_ico", L"muted_ico.png", 1},
    {L"nodata_ico", L"nodata_ico.png", 1},
    {L"icon_multiaudio", L"audio_streams_ico.png", 1},
    {L"icon_teletext", L"teletext_ico.png", 1},
    {L"icon_subtitles", L"subtitles_ico.png", 1},
    {L"teletext\\block", L"teletext\\inset_bck.png", 1},
    {L"teletext\\back", L"teletext\\back_btn.png", 5},
    {L"teletext\\next", L"teletext\\next_btn.png", 5},
    {L"teletext\\prev", L"teletext\\prev_btn.png", 5},
    {L"teletext\\separator", L"teletext\\tele_separator.png", 1},
    {L"scroll_arrows", L"sipka_streams.png", 2},
    {L"radio_box", L"radio_box.png", 2},
};

namespace {

void Place(Panel* panel, const OnScreenDisplay::RectF& rect)
{
    if (!panel)
        return;
    panel->SetRect(rect);
    panel->Layout();
}

} // namespace

CQORDisplay::CQORDisplay() = default;

// The members go in reverse order: the fonts, then the textures; the base then deletes the tree,
// whose widgets give back their texture references.
CQORDisplay::~CQORDisplay()
{
    m_device = nullptr;
}

void CQORDisplay::Create(OnScreenDisplay::DrawingSurface* surface)
{
    (void)surface; // the holder's own surface, taken again below
    Create(theD3DHandler);
}

void CQORDisplay::Create(CD3DHandler* device)
{
    // A second build without the frame's DeleteChildren would stack a second tree on the first and
    // leave its labels with fonts about to be freed.
    DeleteChildren();
    SetAllPointersNull();
    m_device = device;
    Display::Create(device ? device->GetSurface() : nullptr);
    SetDisplay(this);
    // Teletext pages and subtitles are bitmaps put into textures of the device.
    OnScreenDisplay::SetEmptyTextureFactory(&COSDTexture::CreateEmpty);
    LoadSkin();
    LoadFonts();
    BuildTree();
    LinkMenuKeys();
    SetDisplay(this);
}

void CQORDisplay::Reset()
{
    DeleteChildren();
    SetAllPointersNull();
    m_fonts.Clear();
    m_textures.Clear();
}

void CQORDisplay::SetAllPointersNull()
{
    m_controls = nullptr;
    m_info = nullptr;
    m_menu = nullptr;
    m_topMenu = nullptr;
    m_topButtons = nullptr;
    m_channelLogo = nullptr;
    m_guide = nullptr;
    m_subtitles = nullptr;
    m_teletext = nullptr;
    m_background = nullptr;
    m_volume = nullptr;
    m_switcher = nullptr;
    m_recorded = nullptr;
    m_channels = nullptr;
    m_recordIcon = nullptr;
    m_scrambledIcon = nullptr;
    m_mutedIcon = nullptr;
    m_noDataIcon = nullptr;
    m_tune = nullptr;
    m_video = nullptr;
}

void CQORDisplay::LoadSkin()
{
    std::wstring folder = g_appFolder.GetString();
    folder += L"\\skins\\default\\";
    for (const SkinImage& image : kSkinImages)
        m_textures.Load(image.name, folder + image.file, image.frames);
}

void CQORDisplay::LoadFonts()
{
    m_fonts.Clear();
    m_fonts.Add(L"normal", L"Tahoma", 26, false, false);
    m_fonts.Add(L"bold", L"Tahoma", 26, true, false);
    m_fonts.Add(L"big", L"Tahoma", 40, true, false);
}

// Layout, drawing and the pointer ---------------------------------------------------------------

void CQORDisplay::Layout()
{
    const float w = m_rect.Width(), h = m_rect.Height();
    // A minimised window reports 0 x 0: every panel would get a negative size. The last layout
    // stays until the window has an area again.
    if (!(w > 0) || !(h > 0))
        return;
    const float s = viewer::OsdScaleForHeight(h);
    OnScreenDisplay::SetScale(s);
    const viewer::DisplayRects r = viewer::ComputeDisplayRects(w, h, s, m_aspect);
    Place(m_background, r.background);
    if (m_video) {
        m_video->SetRect(r.video);
        m_video->Layout();
    }
    Place(m_recordIcon, r.recordIcon);
    Place(m_scrambledIcon, r.scrambledIcon);
    Place(m_mutedIcon, r.mutedIcon);
    Place(m_noDataIcon, r.noDataIcon);
    Place(m_subtitles, r.subtitles);
    Place(m_teletext, r.teletext);
    Place(m_guide, r.guide);
    Place(m_info, r.info);
    Place(m_controls, r.controls);
    Place(m_menu, r.menu);
    Place(m_topMenu, r.topMenu);
    Place(m_topButtons, r.topButtons);
    if (m_channelLogo) {
        // First with the widest logo, so that the name label gets its height and measures its
        // text; then as wide as the name needs.
        Place(m_channelLogo, viewer::ChannelLogoRect(w, h, s, viewer::ChannelLogoFirstPassWidth(s)));
        float a = 180 * s;
        if (const OnScreenDisplay::Label* name = m_channelLogo->m_name)
            a = viewer::ChannelLogoWidth(name->GetRect().Height(), static_cast<float>(name->GetString().GetWidth()),
                                         static_cast<float>(name->GetString().GetHeight()), s);
        Place(m_channelLogo, viewer::ChannelLogoRect(w, h, s, a));
    }
    Place(m_volume, r.volume);
    Place(m_switcher, r.switcher);
    Place(m_recorded, r.recorded);
    Place(m_channels, r.channels);
    Place(m_tune, r.tune);
}

void CQORDisplay::Render(float alpha)
{
    if (m_autoHide.IsDue(OnScreenDisplay::Now(), IsMenuShown()))
        SetFiveBars(Panel::Hidden);
    Display::Render(alpha);
}

uint32_t CQORDisplay::AnimationDelay(uint32_t now)
{
    uint32_t delay = Display::AnimationDelay(now);
    const Panel* bars[] = {m_controls, m_info, m_channelLogo, m_topMenu, m_topButtons};
    bool barShown = false;
    for (const Panel* bar : bars)
        barShown = barShown || (bar && bar->GetState() == Panel::Shown);
    if (barShown && m_autoHide.IsArmed() && !IsMenuShown()) {
        const uint32_t quiet = now - m_autoHide.ShownAt();
        const uint32_t hide = quiet > viewer::ControlsAutoHide::kTimeoutMs ? 0
                                                                             : viewer::ControlsAutoHide::kTimeoutMs - quiet + 1;
        delay = hide < delay ? hide : delay;
    }
    return delay;
}

bool CQORDisplay::OnMouseMove(uint32_t flags, int x, int y)
{
    const float h = m_rect.Height();
    const float s = OnScreenDisplay::GetScale();
    if (viewer::ClassifyPointerBand(y, h, s) == viewer::PointerBand::Middle) {
        m_autoHide.Arm();
    } else if (!IsTeletextShown() && !IsGuideShown() && !IsSwitcherShown() && !IsRecordedShown() &&
               !IsChannelListShown()) {
        SetFiveBars(Panel::Shown);
        m_autoHide.ShownByPointer(OnScreenDisplay::Now());
        Layout();
    }
    if (IsGuideShown() && m_guide->m_scrollPad) {
        const OnScreenDisplay::RectF& pad = m_guide->m_scrollPad->GetRect();
        const OnScreenDisplay::RectF& guide = m_guide->GetRect();
        const float cx = guide.left + (pad.left + pad.right) / 2, cy = guide.top + (pad.top + pad.bottom) / 2;
        m_guide->m_scrollPad->SetState(viewer::IsNearScrollPad(static_cast<float>(x), static_cast<float>(y), cx, cy, s)
                                           ? Panel::Shown
                                           : Panel::Hidden);
    }
    return Display::OnMouseMove(flags, x, y);
}

void CQORDisplay::SetFiveBars(int state)
{
    Panel* bars[] = {m_controls, m_info, m_channelLogo, m_topMenu, m_topButtons};
    for (Panel* bar : bars)
        if (bar)
            bar->SetState(state);
}

// Notifications ---------------------------------------------------------------------------------

void CQORDisplay::OnCommand(int id)
{
    if (m_listener)
        m_listener->OnOsdCommand(id);
}

bool CQORDisplay::OnSeek(int id, double fraction)
{
    return m_listener ? m_listener->OnOsdSeek(id, fraction) : false;
}

void CQORDisplay::OnStreamMenu(int code)
{
    if (m_listener)
        m_listener->OnOsdStreamMenu(code);
}

void CQORDisplay::OnListSelect(int list, int value, int value2)
{
    if (m_listener)
        m_listener->OnOsdListSelect(list, value, value2);
}

void CQORDisplay::OnGuideClick(int guide, uint32_t keyLow, uint32_t keyHigh)
{
    if (m_listener)
        m_listener->OnOsdGuideClick(guide, keyLow, keyHigh);
}

void CQORDisplay::OnGuideMenu(int guide, uint32_t eventKeyLow, uint32_t eventKeyHigh, uint32_t channelKeyLow,
                              uint32_t channelKeyHigh, uint32_t flags, bool running, bool past)
{
    if (m_listener)
        m_listener->OnOsdGuideMenu(guide, eventKeyLow, eventKeyHigh, channelKeyLow, channelKeyHigh, flags, running,
                                   past);
}
