// CQORDisplay: what the main frame asks of the OSD. Every operation finds its panel or widget
// first and does nothing without it: before Create, after Reset, and after a failed device
// creation (which builds no tree) the frame's calls are harmless.
#include <cstdio>
#include <string>
#include <vector>

#include "base/Lock.h"
#include "viewer/CQORDisplay.h"
#include "viewer/DisplayLayout.h"
#include "viewer/d3d/CD3DHandler.h"
#include "viewer/epg/CEPGEvent.h"
#include "viewer/osd/CheckListBox.h"
#include "viewer/osd/Clock.h"
#include "viewer/osd/CustomDrawControl.h"
#include "viewer/osd/Image.h"
#include "viewer/osd/Label.h"
#include "viewer/osd/ListBox.h"
#include "viewer/osd/Memo.h"
#include "viewer/osd/RatioImage.h"
#include "viewer/osd/Seekbar.h"
#include "viewer/osd/Tabs.h"
#include "viewer/osd/Video.h"
#include "viewer/osd/VolumeBar.h"
#include "viewer/d3d/COSDTexture.h"
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
#include "viewer/panels/CQORBackgroundpanel.h"

using OnScreenDisplay::Panel;

namespace {

bool IsUp(const Panel* panel)
{
    return panel && (panel->GetState() == Panel::Showing || panel->GetState() == Panel::Shown);
}

void Show(Panel* panel, bool show)
{
    if (panel)
        panel->SetState(show ? Panel::Shown : Panel::Hidden);
}

std::u16string U16(const CString& text)
{
    const wchar_t* p = text.GetString();
    return std::u16string(p, p + text.GetLength());
}

void SetText(OnScreenDisplay::Label* label, const CString& text)
{
    if (label)
        label->SetText(U16(text));
}

void SelectTab(OnScreenDisplay::Tabs* tabs, int index)
{
    if (tabs)
        tabs->SelectTab(index);
}

void ClearList(OnScreenDisplay::ListBox* list)
{
    if (!list)
        return;
    list->Clear();
    list->m_selection = -1;
}

} // namespace

bool CQORDisplay::IsGuideShown() const { return IsUp(m_guide); }
bool CQORDisplay::IsMenuShown() const { return IsUp(m_menu); }
bool CQORDisplay::IsTeletextShown() const { return IsUp(m_teletext); }
bool CQORDisplay::IsRecordedShown() const { return IsUp(m_recorded); }
bool CQORDisplay::IsControlsShown() const { return IsUp(m_controls); }
bool CQORDisplay::IsTuneShown() const { return IsUp(m_tune); }
bool CQORDisplay::IsSwitcherShown() const { return IsUp(m_switcher); }
bool CQORDisplay::IsChannelListShown() const { return IsUp(m_channels); }

// Show and hide -----------------------------------------------------------------------------

void CQORDisplay::ShowTune(bool show) { Show(m_tune, show); }

void CQORDisplay::ShowTopBars(bool show)
{
    Show(m_topMenu, show);
    Show(m_topButtons, show);
}

void CQORDisplay::SetOnTopButton(bool pushed)
{
    if (m_topButtons && m_topButtons->m_alwaysOnTop)
        m_topButtons->m_alwaysOnTop->SetPushed(pushed);
}

void CQORDisplay::ShowControls(bool show)
{
    Show(m_controls, show);
    Show(m_info, show);
    Show(m_channelLogo, show);
    if (show)
        m_autoHide.Restart(OnScreenDisplay::Now());
}

void CQORDisplay::ShowMenu(bool show) { Show(m_menu, show); }
void CQORDisplay::ShowBackground(bool show) { Show(m_background, show); }
void CQORDisplay::ShowSubtitles(bool show) { Show(m_subtitles, show); }
void CQORDisplay::ShowVolume(bool show) { Show(m_volume, show); }

// A screen that covers the video: its header's first tab is selected, and the five bars go.
void CQORDisplay::ShowScreen(Panel* screen, OnScreenDisplay::Tabs* tabs, bool show, bool hideBars)
{
    if (!screen)
        return;
    if (show && tabs)
        tabs->SelectTab(0);
    Show(screen, show);
    if (show && hideBars)
        SetFiveBars(Panel::Hidden);
}

namespace {
template <class Screen> OnScreenDisplay::Tabs* HeaderTabs(Screen* screen)
{
    return screen && screen->m_header ? screen->m_header->m_tabs : nullptr;
}
} // namespace

void CQORDisplay::ShowTeletext(bool show) { ShowScreen(m_teletext, nullptr, show, true); }
void CQORDisplay::ShowRecorded(bool show) { ShowScreen(m_recorded, HeaderTabs(m_recorded), show, true); }
void CQORDisplay::ShowGuide(bool show) { ShowScreen(m_guide, HeaderTabs(m_guide), show, true); }
void CQORDisplay::ShowChannelList(bool show) { ShowScreen(m_channels, HeaderTabs(m_channels), show, true); }
void CQORDisplay::ShowSwitcher(bool show) { ShowScreen(m_switcher, HeaderTabs(m_switcher), show, false); }

bool CQORDisplay::IsViewShown(View view) const
{
    switch (view) {
    case View::Menu: return IsMenuShown();
    case View::Teletext: return IsTeletextShown();
    case View::ChannelList: return IsChannelListShown();
    case View::Recorded: return IsRecordedShown();
    case View::Switcher: return IsSwitcherShown();
    case View::Guide: return IsGuideShown();
    }
    return false;
}

void CQORDisplay::ShowView(View view, bool show)
{
    switch (view) {
    case View::Menu: ShowMenu(show); break;
    case View::Teletext: ShowTeletext(show); break;
    case View::ChannelList: ShowChannelList(show); break;
    case View::Recorded: ShowRecorded(show); break;
    case View::Switcher: ShowSwitcher(show); break;
    case View::Guide: ShowGuide(show); break;
    }
}

bool CQORDisplay::ToggleOnly(View view)
{
    const bool show = !IsViewShown(view);
    ShowView(view, show);
    for (View other : {View::Menu, View::Teletext, View::ChannelList, View::Recorded, View::Switcher, View::Guide})
        if (other != view)
            ShowView(other, false);
    return show;
}

void CQORDisplay::SetGuideTab(int index) { SelectTab(HeaderTabs(m_guide), index); }
void CQORDisplay::SetSwitcherTab(int index) { SelectTab(HeaderTabs(m_switcher), index); }
void CQORDisplay::SetChannelListTab(int index) { SelectTab(HeaderTabs(m_channels), index); }

// Texts and values --------------------------------------------------------------------------

void CQORDisplay::SetInfoText(int line, const CString& text)
{
    if (!m_info)
        return;
    if (line == 0)
        SetText(m_info->m_line0, text);
    else if (line == 1)
        SetText(m_info->m_line1, text);
}

void CQORDisplay::SetProgress(float fraction)
{
    if (m_info && m_info->m_progress)
        m_info->m_progress->SetPosition(fraction);
}

void CQORDisplay::SetChannelName(const CString& text)
{
    if (!m_channelLogo)
        return;
    SetText(m_channelLogo->m_name, text);
    Layout();
}

void CQORDisplay::SetTeletextPageText(const CString& text)
{
    if (!m_teletext)
        return;
    SetText(m_teletext->m_pageNumber, text);
    Layout();
}

void CQORDisplay::SetTeletextClock(const CString& text)
{
    if (!m_teletext)
        return;
    SetText(m_teletext->m_clock, text);
    Layout();
}

void CQORDisplay::SetVolume(int value)
{
    if (m_volume && m_volume->m_volumeBar)
        m_volume->m_volumeBar->m_value = static_cast<float>(value);
}

void CQORDisplay::SetAspect(float aspect)
{
    m_aspect = aspect;
    if (m_guide)
        m_guide->m_videoAspect = aspect;
    Layout();
}

void CQORDisplay::SetVideoStream(int slot)
{
    if (m_video)
        m_video->m_slot = slot;
}

// Icons -------------------------------------------------------------------------------------

void CQORDisplay::SetRecordIcon(int state)
{
    if (!m_recordIcon || state == m_recordIconState)
        return;
    m_recordIconState = state;
    if (state == 0) {
        m_recordIcon->SetState(Panel::Hidden);
        return;
    }
    if (m_recordIcon->m_icon)
        m_recordIcon->m_icon->SetTexture(m_textures.Lookup(state == 2 ? L"timeshift_ico" : L"rec_ico"));
    m_recordIcon->SetState(Panel::Shown);
}

void CQORDisplay::SetScrambledIcon(bool show) { Show(m_scrambledIcon, show); }
void CQORDisplay::SetMutedIcon(bool show) { Show(m_mutedIcon, show); }
void CQORDisplay::SetNoDataIcon(bool show) { Show(m_noDataIcon, show); }

void CQORDisplay::SetControlButton(int index, int command, const CString& image, bool shown)
{
    if (!m_controls)
        return;
    OnScreenDisplay::Button* button = index == 0 ? m_controls->m_record : m_controls->m_play;
    if (!button)
        return;
    if (command != 0)
        button->SetId(command);
    if (COSDTexture* texture = m_textures.Lookup(std::wstring(image.GetString())))
        button->SetTexture(texture);
    button->SetVisible(shown);
}

void CQORDisplay::SetStreamIcons(bool multiAudio, bool teletext, bool subtitles)
{
    if (!m_info || !m_info->m_multiAudioIcon || !m_info->m_teletextIcon || !m_info->m_subtitlesIcon || !m_device)
        return;
    base::CScopedLock device(m_device->DeviceLock());
    m_info->m_multiAudioIcon->SetVisible(multiAudio);
    m_info->m_teletextIcon->SetVisible(teletext);
    m_info->m_subtitlesIcon->SetVisible(subtitles);
}

// Bitmaps -----------------------------------------------------------------------------------

void CQORDisplay::CopyBitmap(OnScreenDisplay::CustomDrawControl* control, HBITMAP bitmap, int left, int top, int right,
                             int bottom)
{
    if (!control)
        return;
    if (auto* texture = static_cast<COSDTexture*>(control->GetTexture()))
        texture->SetBitmap(bitmap, left, top, right, bottom);
}

void CQORDisplay::SetTeletextBitmap(HBITMAP bitmap, int left, int top, int right, int bottom, float value)
{
    if (!m_teletext)
        return;
    m_teletext->m_pageAspect = value;
    CopyBitmap(m_teletext->m_page, bitmap, left, top, right, bottom);
    Layout();
}

void CQORDisplay::SetOverlayBitmap(HBITMAP bitmap, int left, int top, int right, int bottom, float value)
{
    if (!m_subtitles)
        return;
    m_subtitles->m_aspect = value;
    CopyBitmap(m_subtitles->m_overlay, bitmap, left, top, right, bottom);
    Layout();
}

namespace {

// The image as a top-down 32-bit DIB section of its size; images without alpha become opaque.
HBITMAP ToArgbSection(HBITMAP image, int* width, int* height)
{
    BITMAP info{};
    if (!GetObjectW(image, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight == 0)
        return nullptr;
    const int w = info.bmWidth, h = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP section = CreateDIBSection(screen, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section && GetDIBits(screen, image, 0, h, bits, &bmi, DIB_RGB_COLORS) != h) {
        DeleteObject(section);
        section = nullptr;
    }
    ReleaseDC(nullptr, screen);
    if (!section)
        return nullptr;
    if (info.bmBitsPixel != 32) {
        auto* pixel = static_cast<uint32_t*>(bits);
        for (size_t i = 0, n = static_cast<size_t>(w) * h; i < n; ++i)
            pixel[i] |= 0xFF000000u;
    }
    *width = w;
    *height = h;
    return section;
}

} // namespace

void CQORDisplay::SetChannelLogo(HBITMAP image)
{
    if (!m_channelLogo || !m_channelLogo->m_logo || !m_device)
        return;
    base::CScopedLock device(m_device->DeviceLock());
    OnScreenDisplay::RatioImage& logo = *m_channelLogo->m_logo;
    if (!image) {
        logo.m_aspect = 4.0f / 3.0f;
        logo.SetTexture(m_channelLogo->GetDefaultLogo());
        return;
    }
    int w = 0, h = 0;
    HBITMAP section = ToArgbSection(image, &w, &h);
    auto* texture = static_cast<COSDTexture*>(m_channelLogo->GetLogoImage());
    if (texture) {
        // A logo without area keeps the aspect of the last one.
        logo.m_aspect = viewer::ChannelLogoAspect(logo.m_aspect, w, h);
        if (section)
            texture->SetBitmap(section, 0, 0, w, h);
        logo.SetTexture(texture);
    }
    if (section)
        DeleteObject(section);
}

// Lists -------------------------------------------------------------------------------------

void CQORDisplay::ClearChannelList()
{
    if (m_channels)
        ClearList(m_channels->m_list);
}

void CQORDisplay::ClearSwitcher()
{
    if (!m_switcher || !m_switcher->m_list)
        return;
    m_switcher->m_list->Clear();
    m_switcher->m_list->m_selection = -1;
}

void CQORDisplay::ClearTuneList()
{
    if (m_tune)
        ClearList(m_tune->m_channelList);
}

void CQORDisplay::AddChannelListItem(const CString& text, const CString& text2, int value, int value2, bool select)
{
    if (!m_channels || !m_channels->m_list)
        return;
    OnScreenDisplay::ListBox& list = *m_channels->m_list;
    list.AddItem(U16(text), U16(text2), value, value2);
    if (select) {
        list.m_selection = list.GetCount() - 1;
        list.EnsureSelectionVisible();
    }
}

void CQORDisplay::AddSwitcherItem(const CString& text, int value, int value2)
{
    if (m_switcher && m_switcher->m_list)
        m_switcher->m_list->AddString(U16(text), value, value2);
}

void CQORDisplay::AddTuneItem(const CString& text, const CString& text2, int value, int value2)
{
    if (m_tune && m_tune->m_channelList)
        m_tune->m_channelList->AddItem(U16(text), U16(text2), value, value2);
}

// Tune panel --------------------------------------------------------------------------------

void CQORDisplay::ClearTuneNumber()
{
    if (m_tune)
        m_tune->ClearNumber();
}

void CQORDisplay::TuneDigit(int digit)
{
    if (m_tune)
        m_tune->AddDigit(digit);
}

void CQORDisplay::SetTuneTimeout(int ms)
{
    if (m_tune)
        m_tune->SetHideDeadline(ms == -1 ? 0 : OnScreenDisplay::Now() + static_cast<uint32_t>(ms));
}

// Programme details ------------------------------------------------------------------------

void CQORDisplay::ShowEventDetails(const CEPGEvent* event)
{
    if (!m_guide)
        return;
    if (!event) {
        if (m_guide->m_titleValue)
            m_guide->m_titleValue->SetText(u"");
        if (m_guide->m_genreValue)
            m_guide->m_genreValue->SetText(u"");
        if (m_guide->m_description)
            m_guide->m_description->SetText(u"");
        return;
    }
    SetText(m_guide->m_titleValue, event->m_title);
    std::u16string genre = U16(event->m_text);
    if (event->m_genre != 0) {
        char code[16];
        std::snprintf(code, sizeof(code), "  [%d]", static_cast<int>(event->m_genre));
        genre.append(code, code + std::char_traits<char>::length(code));
    }
    if (m_guide->m_genreValue)
        m_guide->m_genreValue->SetText(genre);
    if (m_guide->m_description)
        m_guide->m_description->SetText(U16(event->m_extraText));
}
