// The viewer's OSD root: builds every panel and widget of the viewer's screens from the skin, lays
// them out for the window with one OSD scale, hides the bars after a quiet period, and is the one
// door through which the main frame changes the OSD and receives its notifications.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/CString.h"
#include "viewer/ControlsAutoHide.h"
#include "viewer/DisplayListener.h"
#include "viewer/osd/Display.h"
#include "viewer/d3d/FontList.h"
#include "viewer/d3d/TextureList.h"

class CD3DHandler;
class CEPGData;
class CEPGEvent;
class CQORBackgroundpanel;
class CQORChannelLogoPanel;
class CQORChannelsPanel;
class CQORControlsPanel;
class CQOREPGPanel;
class CQORInfoPanel;
class CQORMenu;
class CQORMenuPanel;
class CQORRecordedPanel;
class CQORStatusIcon;
class CQORSubtitlePanel;
class CQORSwitcherPanel;
class CQORTeletextPanel;
class CQORTopPanel;
class CQORTunePanel;
class CQORVolumePanel;
class PanelFrame;

namespace OnScreenDisplay {
class CustomDrawControl;
class Panel;
class Tabs;
class Video;
} // namespace OnScreenDisplay

class CQORDisplay : public OnScreenDisplay::Display {
public:
    // The picture aspect until the first video format is reported.
    static constexpr float kDefaultAspect = 16.0f / 9.0f;

    CQORDisplay();
    ~CQORDisplay() override;

    // Builds the tree on the device holder's device: textures from the program folder's default
    // skin, the three fonts, the panels and widgets with their ids, the main menu's key links.
    void Create(CD3DHandler* device);
    // The frame's call with the device's surface: builds on the process's device holder.
    void Create(OnScreenDisplay::DrawingSurface* surface) override;
    // Forgets the panels (the frame deletes the children first) and empties both lists.
    virtual void Reset();

    void Layout() override;
    void Render(float alpha) override;
    // The tree's, and the bars' hiding once their quiet period has run.
    uint32_t AnimationDelay(uint32_t now) override;
    bool OnMouseMove(uint32_t flags, int x, int y) override;

    // Notifications of the widgets, forwarded to the listener (dropped without one).
    void OnCommand(int id) override;
    bool OnSeek(int id, double fraction) override;
    void ShowEventDetails(const CEPGEvent* event) override;
    void OnStreamMenu(int code) override;
    void OnListSelect(int list, int value, int value2) override;
    void OnGuideClick(int guide, uint32_t keyLow, uint32_t keyHigh) override;
    void OnGuideMenu(int guide, uint32_t eventKeyLow, uint32_t eventKeyHigh, uint32_t channelKeyLow,
                     uint32_t channelKeyHigh, uint32_t flags, bool running, bool past) override;

    // Who receives the notifications; the main frame registers itself.
    void SetListener(viewer::DisplayListener* listener) { m_listener = listener; }
    // The EPG model that the guide shows; the main frame's, set before Create.
    void SetGuideModel(CEPGData* model) { m_guideModel = model; }
    // What the tune and guide panels tell the frame; given to them as Create builds them.
    void SetPanelFrame(PanelFrame* frame) { m_panelFrame = frame; }

    // True when the panel exists and is shown or showing.
    bool IsGuideShown() const;
    bool IsMenuShown() const;
    bool IsTeletextShown() const;
    bool IsRecordedShown() const;
    bool IsControlsShown() const;
    bool IsTuneShown() const;
    bool IsSwitcherShown() const;
    bool IsChannelListShown() const;

    void ShowTune(bool show);
    void ShowTopBars(bool show);
    void ShowControls(bool show);
    void ShowMenu(bool show);
    void ShowBackground(bool show);
    void ShowTeletext(bool show);
    void ShowSubtitles(bool show);
    void ShowVolume(bool show);
    void ShowRecorded(bool show);
    void ShowGuide(bool show);
    void ShowChannelList(bool show);
    void ShowSwitcher(bool show);
    // The views that take the screen and the keys, one at a time.
    enum class View { Menu, Teletext, ChannelList, Recorded, Switcher, Guide };
    bool IsViewShown(View view) const;
    void ShowView(View view, bool show);
    // Shows `view` when it is hidden and hides it when it is up; the other views go either way.
    // True when `view` is now shown.
    bool ToggleOnly(View view);

    void SetGuideTab(int index);
    void SetSwitcherTab(int index);
    void SetChannelListTab(int index);

    void SetInfoText(int line, const CString& text);
    // The played fraction of the file, 0..1 (a whole-number value could only say 0 or 1).
    void SetProgress(float fraction);
    void SetChannelName(const CString& text);
    void SetTeletextPageText(const CString& text);
    void SetTeletextClock(const CString& text);
    void SetVolume(int value);
    void SetAspect(float aspect);
    void SetVideoStream(int slot);

    // 0 none, 1 recording, 2 timeshift.
    void SetRecordIcon(int state);
    void SetScrambledIcon(bool show);
    void SetMutedIcon(bool show);
    void SetNoDataIcon(bool show);
    void SetStreamIcons(bool multiAudio, bool teletext, bool subtitles);
    // The controls panel's first (0, record or stop) or second (1, play or pause) button: its
    // command (0 keeps the one it has), its skin image and whether it shows.
    void SetControlButton(int index, int command, const CString& image, bool shown);
    // The window buttons' always-on-top push button: pushed while the window stays on top.
    void SetOnTopButton(bool pushed);

    // Copy a rectangle of a 32-bit DIB section into the page or overlay texture; value becomes the
    // panel's aspect.
    void SetTeletextBitmap(HBITMAP bitmap, int left, int top, int right, int bottom, float value);
    void SetOverlayBitmap(HBITMAP bitmap, int left, int top, int right, int bottom, float value);
    // Null shows the skin's default logo.
    void SetChannelLogo(HBITMAP image);

    void ClearChannelList();
    void ClearSwitcher();
    void ClearTuneList();
    void AddChannelListItem(const CString& text, const CString& text2, int value, int value2, bool select);
    void AddSwitcherItem(const CString& text, int value, int value2);
    void AddTuneItem(const CString& text, const CString& text2, int value, int value2);

    void ClearTuneNumber();
    // A negative digit removes the last one.
    void TuneDigit(int digit);
    // Closes the tune panel ms from now; -1 keeps it open.
    void SetTuneTimeout(int ms);

    // The built tree, for the frame's key handling and for tests.
    CQORMenu* GetMenu() const { return m_menu; }
    CQORControlsPanel* GetControls() const { return m_controls; }
    CQORInfoPanel* GetInfo() const { return m_info; }
    CQORMenuPanel* GetTopMenu() const { return m_topMenu; }
    CQORTopPanel* GetTopButtons() const { return m_topButtons; }
    CQORChannelLogoPanel* GetChannelLogo() const { return m_channelLogo; }
    CQOREPGPanel* GetGuide() const { return m_guide; }
    CQORSubtitlePanel* GetSubtitles() const { return m_subtitles; }
    CQORTeletextPanel* GetTeletext() const { return m_teletext; }
    CQORBackgroundpanel* GetBackground() const { return m_background; }
    CQORVolumePanel* GetVolume() const { return m_volume; }
    CQORSwitcherPanel* GetSwitcher() const { return m_switcher; }
    CQORRecordedPanel* GetRecorded() const { return m_recorded; }
    CQORChannelsPanel* GetChannels() const { return m_channels; }
    CQORStatusIcon* GetRecordIcon() const { return m_recordIcon; }
    CQORStatusIcon* GetScrambledIcon() const { return m_scrambledIcon; }
    CQORStatusIcon* GetMutedIcon() const { return m_mutedIcon; }
    CQORStatusIcon* GetNoDataIcon() const { return m_noDataIcon; }
    CQORTunePanel* GetTune() const { return m_tune; }
    OnScreenDisplay::Video* GetVideo() const { return m_video; }
    const TextureList& GetTextures() const { return m_textures; }
    const FontList& GetFonts() const { return m_fonts; }
    float GetAspect() const { return m_aspect; }
    const viewer::ControlsAutoHide& GetAutoHide() const { return m_autoHide; }

    // The skin's images: name, file under the skin folder, frames stacked in the file.
    struct SkinImage {
        const wchar_t* name;
        const wchar_t* file;
        int frames;
    };
    static const SkinImage kSkinImages[67];

private:
    void LoadSkin();
    void LoadFonts();
    void BuildTree();
    void BuildGuide();
    void BuildTeletext();
    void BuildLists();
    void LinkMenuKeys();
    void SetAllPointersNull();
    void SetFiveBars(int state);
    void ShowScreen(OnScreenDisplay::Panel* screen, OnScreenDisplay::Tabs* tabs, bool show, bool hideBars);
    void CopyBitmap(OnScreenDisplay::CustomDrawControl* control, HBITMAP bitmap, int left, int top, int right,
                    int bottom);

    TextureList m_textures;
    FontList m_fonts;
    CD3DHandler* m_device = nullptr;

    CQORControlsPanel* m_controls = nullptr;
    CQORInfoPanel* m_info = nullptr;
    CQORMenu* m_menu = nullptr;
    CQORMenuPanel* m_topMenu = nullptr;
    CQORTopPanel* m_topButtons = nullptr;
    CQORChannelLogoPanel* m_channelLogo = nullptr;
    CQOREPGPanel* m_guide = nullptr;
    CQORSubtitlePanel* m_subtitles = nullptr;
    CQORTeletextPanel* m_teletext = nullptr;
    CQORBackgroundpanel* m_background = nullptr;
    CQORVolumePanel* m_volume = nullptr;
    CQORSwitcherPanel* m_switcher = nullptr;
    CQORRecordedPanel* m_recorded = nullptr;
    CQORChannelsPanel* m_channels = nullptr;
    CQORStatusIcon* m_recordIcon = nullptr;
    CQORStatusIcon* m_scrambledIcon = nullptr;
    CQORStatusIcon* m_mutedIcon = nullptr;
    CQORStatusIcon* m_noDataIcon = nullptr;
    CQORTunePanel* m_tune = nullptr;
    OnScreenDisplay::Video* m_video = nullptr;

    viewer::ControlsAutoHide m_autoHide;
    float m_aspect = kDefaultAspect;
    int m_recordIconState = 0;

    viewer::DisplayListener* m_listener = nullptr;
    CEPGData* m_guideModel = nullptr;
    PanelFrame* m_panelFrame = nullptr;
};
