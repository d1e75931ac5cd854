// The viewer's one top-level window: borderless and resizable, maximised as the fullscreen state,
// optionally on top or in the notification area. It owns the Direct3D presentation, the OSD root,
// the playback graphs, the render thread and the channel engine.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// First: it brings <winsock2.h>, which must come before <windows.h>.
#include "dvb/libDVB_EthernetDevice/win/CSAPParser.h"

#include "base/Lock.h"
#include "dvb/DVBPlaybackCore/win/CQOREngine.h"
#include "framework/win/Afx.h"
#include "media/playback/win/CPlaybackHost.h"
#include "media/filters/videorenderer/win/CVideoStreamTable.h"
#include "viewer/CChannelNode.h"
#include "viewer/CLiveRelay.h"
#include "viewer/epg/CEPGData.h"
#include "viewer/CQORDisplay.h"
#include "viewer/CommandIds.h"
#include "viewer/DisplayListener.h"
#include "viewer/WindowGeometry.h"
#include "viewer/d3d/CD3DHandler.h"
// The window menu's and the accelerators' command ids, shared with the resource script.
#include "resource.h"
#include "viewer/d3d/CRenderThread.h"
#include "viewer/osd/ControlList.h"
#include "viewer/osd/VideoSource.h"
#include "viewer/osd/ViewerHost.h"
#include "viewer/panels/PanelFrame.h"
#include "viewer/osd/Header.h"

using DVBPlaybackCore::CQOREngine;
using DVBPlaybackCore::CQORService;
using CQOREngineUserInterface = DVBPlaybackCore::CQOREngine::CQOREngineUserInterface;
using videorenderer::CVideoStreamTable;
using libDVB_EthernetDevice::CSAPParser;

class CSystrayWindow;

// User messages of the frame.
enum : UINT {
    WM_QOR_POINTER = 2026,
    WM_QOR_ASPECT_CHANGED = 2027,
    WM_QOR_START_LAST_CHANNEL = 2028,
    WM_QOR_FRAME_TIME = 2029,
    WM_QOR_TELETEXT_PAGE = 2037,
    // The tune panel's typed number changed, or a list item was chosen: what is still pending
    // (RunPendingInput) runs outside the OSD's lock.
    WM_QOR_TUNE_NUMBER = 2040,
    WM_QOR_LIST_SELECT = 2041,
    // The guide's channel-name click (the channel key in wParam) and its right click on an event
    // (the request kept in m_guideMenuRequest): both fire under the OSD's lock and run from the queue.
    WM_QOR_GUIDE_CLICK = 2050,
    WM_QOR_GUIDE_MENU = 2051,
    WM_QOR_NEXT_SERVICE = 3024,
    WM_QOR_PREVIOUS_SERVICE = 3025,
};

enum : UINT_PTR {
    TIMER_HIDE_CURSOR = 101,
    TIMER_GUIDE = 102,
    TIMER_TELETEXT_CLOCK = 103,
    TIMER_POINTER_LEAVE = 104,
    TIMER_RECORDING_END = 115,
    TIMER_NO_DATA = 121,
    // A transport-stream file or a multicast group streams until its first channel appears.
    TIMER_FIRST_SERVICE = 122,
};

// The engine's packet and stream reports arrive on the transport-stream thread holding the
// service lock and go on to the live relay, which owns the graphs and the recorder. Lock order
// everywhere: service -> the relay's data lock -> m_uiLock -> device lock; the user-interface
// thread therefore calls no engine or service operation while it holds a frame lock (it copies
// what it needs first, then locks and fills).
class CMainFrame : public CFrameWnd,
                   public CQOREngineUserInterface,
                   public CLiveRelay::CScreen,
                   public playback::CPlaybackHost,
                   public viewer::DisplayListener,
                   public OnScreenDisplay::ViewerHost,
                   public OnScreenDisplay::VideoSource,
                   public PanelFrame {
public:
    CMainFrame();
    ~CMainFrame() override;
    // The live relay: the graphs, the recorder and the packets' road.
    CLiveRelay& Relay() { return *m_relay; }

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    void LoadWindowSettings();
    void SaveWindowSettings();

    void SetVideoSize(viewer::VideoSize size);
    void ToggleFullscreen();
    void ToggleOnTop();
    // The OSD's always-on-top button set to m_onTop (the display starts it released).
    void ShowOnTopState();
    void SetTrayMode(bool on);
    void Minimise();
    void RestoreFromTray();
    void HideCursor();
    void ShowCursorAgain();
    // The window size whose client area is cx x cy.
    CSize ClientToWindowSize(int cx, int cy) const;

    // Playback modes: -1 while the device is re-created, 0 idle, 1 file, 2 live. 1 when the mode
    // is the current one, E_FAIL for a file from live, else the build's result.
    HRESULT SetMode(int mode);
    // Stops the recording, the engine, both graphs; the idle screen.
    void StopAll();
    // Re-creates the Direct3D device and the OSD when the window moved to another monitor.
    void CheckMonitor();
    // Forgets the monitor, so that the next check re-creates the device.
    void ForgetMonitor() { m_monitor = nullptr; }
    // The device and the OSD follow the client size.
    void Resize(int cx, int cy);
    void SetInfoText(const CString& left, const CString& right, float value) override;
    void PostPointerMessage(float x, float y);
    void PostClose();
    bool TeletextClick(int controlId, UINT flags, float x, float y);
    HRESULT SeekFile(int controlId, double fraction);
    static CString GetFileExtension(const CString& path);
    // Newest first by the creation time the file system reports; unreadable files count as 0.
    static void SortByCreationTime(CArray<CString, const CString&>& paths);
    // Starts the channel: live mode, the no-data watchdog, then the engine call.
    HRESULT TuneStart(uint16_t serviceId, uint16_t transportStreamId, int32_t number);
    HRESULT TuneStart(CQORService* service, int32_t listPosition);
    // Command 11: starts the recording of the current service, or stops the one running.
    void ToggleRecording();
    // Runs one command id of the OSD, the keys, the remote control and the menus.
    void ExecuteCommand(int id);
    // The guide's actions (MainFrmGuide.cpp): plays the channel of a guide row's key; the event's
    // context menu, which switches to the channel or schedules its recording.
    void PlayChannelByKey(int controlId, uint32_t keyLow, uint32_t keyHigh);
    void ShowGuideMenu(int controlId, uint32_t eventKeyLow, uint32_t eventKeyHigh, uint32_t channelKeyLow,
                       uint32_t channelKeyHigh, uint32_t mouseFlags, bool running, bool past);
    // A chosen item of list 10 (recorded shows), 11 (channel list) or 12 (tune panel list).
    void OnListSelect(int list, int value, int value2);
    // What the OSD asked for under its lock and the frame does without it: the tune list of the
    // typed number, then the chosen list items in order. The key and character handlers run it
    // before they return, so that the next key meets the list and the channel its own key made;
    // the posted messages run whatever another road left.
    void RunPendingInput();

    // The OSD's lists (MainFrmLists.cpp): the engine is read first, then the OSD filled under
    // m_uiLock. Channel list kinds: 0 favourites, 1 TV, 2 radio, 3 network.
    void FillChannelList(int kind);
    void FillAudioList();
    void FillSubtitleList();
    // Media files and recorded shows (MainFrmFiles.cpp).
    void OpenMediaFile(const CString& path);
    void PlayRecordedFile(int index);
    void OnFileOpen();
    void OnFileClose();
    // Rebuilds m_recordedFiles (plain files, newest first) and the recorded-shows list.
    void FillRecordedList(const CString& folder);
    void FillRecordedMenu(HMENU menu, const CString& folder);
    const CArray<CString, const CString&>& GetRecordedFiles() const { return m_recordedFiles; }
    // Command 17: the file back to its start, paused.
    void StopFile();
    // The first unscrambled running service plays as soon as it appears (timer 122, 10 s).
    void AwaitFirstService(bool showControls);
    void OnFirstServiceTimer();

    // Channel menus and stream languages.
    void BuildChannelTree(bool full);
    void RebuildChannelMenu(CMenu& menu);
    void AppendChannelMenu(HMENU menu, CChannelNode* node);
    void AppendNetworkSources(CMenu& submenu);
    void FillFileMenu(CMenu& menu);
    void FillViewMenu(CMenu& menu);
    void FillTuneList(int typedNumber);
    void SelectStream(int id);
    // Keyboard navigation of an OSD list or grid: Enter activates the valid selection, the arrows
    // move it and keep it on the visible page. Always handled.
    template <class Item>
    static bool ListKeyDown(OnScreenDisplay::ControlList<Item>& list, int key)
    {
        viewer::ListKeyState state{list.GetCount(), list.m_columns, list.VisibleRows(), !list.m_rowMajor,
                                   list.m_selection, list.m_top};
        const bool activate = viewer::ListKeyMove(state, key);
        list.m_selection = state.selection;
        list.m_top = state.first;
        if (activate)
            list.OnItemActivated(state.selection);
        return true;
    }
    // "English (native)" of an ISO 639-2 code; "Narrator" for NAR; empty when unknown.
    static CString LanguageDisplayName(const char code[3]);

    // Stops the engine so that nothing calls back into the frame; runs once.
    void CloseDown();

    // The engine's user interface, in the interface's order.
    HRESULT Reserved(uint32_t first, uint32_t second) override;
    HRESULT OnStreamsChanged(int32_t slot, uint16_t videoPid, uint16_t audioPid, uint16_t pcrPid) override;
    HRESULT OnTransportPacket(int32_t slot, const uint8_t* packet, int32_t length) override;
    HRESULT StopPlayback() override;
    HRESULT RunPlayback() override;
    HRESULT PausePlayback() override;
    HRESULT ResetDemux() override;
    HRESULT ShowInfoText(std::u16string left, std::u16string right, float fraction) override;
    HRESULT OnServiceUpdated(CQORService* service) override;
    HRESULT ShowInfoCaptions(std::u16string left, std::u16string right) override;
    HRESULT StopRecording() override;
    HRESULT BeginEPGUpdate() override;
    HRESULT AddEPGChannel(const std::u16string* name, uint32_t keyLow, uint32_t keyHigh,
                          EPGChannel* channel) override;
    HRESULT AddEPGEvent(EPGChannel channel, const std::u16string* name, uint32_t keyLow, uint32_t keyHigh,
                        int64_t start, int32_t durationMinutes, uint32_t genre, const std::u16string* genreText,
                        const std::u16string* description, uintptr_t reserved) override;
    HRESULT CommitEPGUpdate() override;
    HRESULT SetEPGWindowStart(int64_t start) override;
    HRESULT ShowTeletextPage(void* bitmap, int32_t left, int32_t top, int32_t right, int32_t bottom,
                             int32_t page) override;
    HRESULT SetPageEntryText(std::u16string text) override;
    HRESULT ShowOverlayBitmap(void* bitmap, int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    HRESULT SetPanelShown(bool shown) override;
    HRESULT SetLiveFlag(uint8_t live) override;

    // Ends the recording as a full disk does; the caller holds the relay's data lock.
    void OnDiskFull() { m_relay->OnDiskFull(); }
    // What the relay shows: the picture or the background, and the recording icon off.
    void ShowStreams(bool video) override;
    void OnRecordingEnded() override;

    // The graphs' and the presenters' host.
    HWND Window() override { return m_hWnd; }
    IDirect3D9* Direct3D() override { return m_d3d.GetDirect3D(); }
    bool DoubleFrameRateAllowed() override;
    bool HasWindow() override { return m_hWnd != nullptr; }
    CVideoStreamTable* VideoStreamTable() override { return &m_videoStreams; }
    IDirect3DDevice9* Device() override { return m_d3d.GetDevice(); }
    void LockDevice() override { m_d3d.DeviceLock().Lock(); }
    void UnlockDevice() override { m_d3d.DeviceLock().Unlock(); }
    void SignalRender() override;
    // A presenter's streaming thread: stores the format under its own lock and posts 2027.
    void SetVideoFormat(int width, int height, double sourceAspect) override;

    // The three raw-input entries of the remote control, aimed at target.
    static void RemoteControlDevices(HWND target, RAWINPUTDEVICE (&devices)[3]);
    // The recordings folder when the profile names none: the shell's video folder.
    static CString DefaultRecordingsFolder();
    // Creates every missing level of path (ending in a backslash).
    static void CreateFolderLevels(const CString& path);

    bool IsMaximised() const { return m_maximised != 0; }
    bool IsOnTop() const { return m_onTop != 0; }
    int GetMode() const { return m_mode; }
    const CString& GetRecPath() const { return m_recPath; }
    int GetVolume() const { return m_volume; }
    bool IsMuted() const { return m_muted != 0; }
    bool IsRecording() const { return m_relay->IsRecording(); }
    // The local date (long or short) and time (with or without seconds) of a time_t value in the
    // user's locale; empty when it cannot be converted. WeekdayNumber: 1 = Sunday, 0 unconvertible.
    static CString DateText(int64_t time, bool longFormat);
    static CString TimeText(int64_t time, bool withSeconds);
    static int WeekdayNumber(int64_t time);
    uint8_t GetLiveFlag() const { return m_liveFlag; }
    CQORDisplay& GetDisplay() { return m_display; }
    CQOREngine* GetEngine() { return m_engine.get(); }
    CChannelNode& GetChannelTree() { return m_channelTree; }
    base::CCriticalSection& GetUiLock() { return m_uiLock; }
    base::CCriticalSection& GetDataLock() { return m_relay->DataLock(); }


    // The OSD's notifications (MainFrmDisplay.cpp).
    void OnOsdCommand(int id) override;
    bool OnOsdSeek(int id, double fraction) override;
    void OnOsdStreamMenu(int code) override;
    void OnOsdListSelect(int list, int value, int value2) override;
    void OnOsdGuideClick(int guide, uint32_t keyLow, uint32_t keyHigh) override;
    void OnOsdGuideMenu(int guide, uint32_t eventKeyLow, uint32_t eventKeyHigh, uint32_t channelKeyLow,
                        uint32_t channelKeyHigh, uint32_t flags, bool running, bool past) override;
    // What widgets ask of the frame from the render thread: they post, the frame acts.
    void PostPointerPosition(int x10000, int y10000) override;
    bool TeletextClick(float fx, float fy) override;
    void PostCommand(int id) override;
    // The video-stream table as the OSD's Video widget reads it (device lock, table, stream).
    void LockTable() override;
    void UnlockTable() override;
    bool LockStream(int slot, OnScreenDisplay::SurfaceTexture** texture, OnScreenDisplay::FrameRect* rect) override;
    void UnlockStream(int slot) override;
    // The tune panel's number and the guide's redraw; every move of the guide's window ends in
    // RefreshGuide, which sets the time scale above the grid to the window.
    void OnChannelNumber(int number) override;
    void RefreshGuide() override;
protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnClose();
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    void OnMove(int x, int y);
    void OnWindowPosChanging(WINDOWPOS* pos);
    void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
    void OnNcPaint();
    LRESULT OnNcHitTest(CPoint point);
    void OnPaint();
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnChar(UINT ch, UINT repeat, UINT flags);
    void OnSysKeyDown(UINT key, UINT repeat, UINT flags);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    void OnRawInput(WPARAM code, LPARAM rawInputHandle, LRESULT* result);
    // WM_APPCOMMAND's command with the device bits removed.
    void OnAppCommand(int command);
    // Controls shown, the menu opened (or toggled by its command), the focus on its first entry.
    void OpenMenuFromKeys(bool toggle);

    // The weekday names are strings kFirstWeekdayString (Sunday) to kFirstWeekdayString + 6.
    static constexpr UINT kFirstWeekdayString = 165;
    // The guide's time scale: the grid start's day and date, then ten column starts.
    void FillGuideHeader(OnScreenDisplay::Header& header, int64_t gridStart, int64_t columnSpan);
    // The guide panel's time scale filled for the model's window (nothing without the panel).
    void UpdateGuideHeader();
    // The guide menu at the cursor: the chosen command, 0 for none.
    virtual UINT TrackGuideMenu(HMENU menu, POINT screen);
    // A scheduling failure the user must know of.
    virtual void ShowGuideFailure(const CString& text);
    LRESULT OnGuideClickMessage(WPARAM channelKey, LPARAM);
    LRESULT OnGuideMenuMessage(WPARAM, LPARAM);
    void OnTimer(UINT_PTR id);
    BOOL OnCopyData(CWnd* sender, COPYDATASTRUCT* data);
    LRESULT OnDeviceLost(WPARAM, LPARAM);

    void OnHalfSize() { SetVideoSize(viewer::VideoSize::Half); }
    void OnNormalSize() { SetVideoSize(viewer::VideoSize::Normal); }
    void OnDoubleSize() { SetVideoSize(viewer::VideoSize::Double); }
    void OnFullscreen() { ToggleFullscreen(); }
    void OnAlwaysOnTop() { ToggleOnTop(); }
    void OnAspectSource() { SetAspectMode(viewer::AspectSource); }
    void OnAspect43() { SetAspectMode(viewer::Aspect4x3); }
    void OnAspect169() { SetAspectMode(viewer::Aspect16x9); }
    void OnDispatchCommand(UINT id) { ExecuteCommand(static_cast<int>(id)); }
    void OnUpdateCloseFile(CCmdUI* ui);
    void OnUpdateDynamicItem(CCmdUI* ui);

    // A frame whose relay `makeRelay` builds: tests stand in for the graphs with a relay of their own.
    using RelayFactory = std::function<std::unique_ptr<CLiveRelay>(const CLiveRelay::Wiring&)>;
    explicit CMainFrame(const RelayFactory& makeRelay);

    // The File, View and Channels popups of the top menu bar (MainFrmPopups.cpp).
    void OpenPopup(int id);
    // The popup at the point of the tab that sent the command; the cursor shown meanwhile.
    UINT TrackAtCommandPoint(HMENU popup, UINT flags);
    void ChooseNetworkSource(uint16_t announcementId);
    void ChooseChannelNode(const CChannelNode* node);

    // The steps before the engine call of every road that starts a channel: live mode, the
    // no-data watchdog with its grace.
    void BeginTune();
    // The controls panel's two buttons for a mode.
    void SetModeButtons(int mode);
    // Runs the "/rec" command of a scheduled recording; the arguments after the program name.
    void RunRecordCommand(const CArray<CString, const CString&>& arguments);
    LRESULT StartLastChannel(bool& handled);
    void OnPointerMessage(WPARAM wParam, LPARAM lParam);
    void OnAspectChanged();
    void OnNoDataTimer();
    void OnTeletextClockTimer();
    void OnRecordingEndTimer();
    void SaveLastChannel();
    // Handlers of the dispatcher (MainFrmCommands.cpp), one per command or group of commands.
    void ChangeVolume(int delta);
    void VolumeUp();
    void ToggleMute();
    void PlayPause();
    void ToggleMenu();
    void HideView(CQORDisplay::View view);
    // The views that cover the picture: each opens alone and toggles.
    void ToggleTeletextView();
    void ToggleChannelListView();
    void ToggleRecordedView();
    void ToggleSwitcherView();
    void ToggleGuideView();
    void CloseTeletextView();
    void CloseGuideView();
    // 2 next, 1 previous, 0 the first page of the page list.
    void NavigateTeletext(int direction);
    void SetGuideKind(int kind);
    // The guide's window moved by `seconds`, or to the present time.
    void MoveGuideWindow(int64_t seconds);
    void MoveGuideToNow();
    // The stream switcher's audio or subtitle tab.
    void ShowStreamList(bool subtitles);
    // Commands 60 and 61: the guide's rows move as by the wheel; 64: the time marker to now
    // (the caller holds m_uiLock).
    void ScrollGuideRows(int delta);
    void StampGuideNow();

    DECLARE_MESSAGE_MAP()

private:
    void SetAspectMode(int mode);
    void RegisterRemoteControl();
    void ResolveRecordingsFolder();
    void SetScreenSaver(BOOL active);
    void RestartHideTimer();

    BOOL m_screenSaverWasActive = FALSE;
    CD3DHandler m_d3d;
    CQORDisplay m_display;
    CEPGData m_epg;
    // The file and live playback, the recorder and the data lock that guards it.
    std::unique_ptr<CLiveRelay> m_relay;
    CVideoStreamTable m_videoStreams;
    std::unique_ptr<CRenderThread> m_renderThread; // its thread starts with the window
    CSAPParser m_sapParser;
    CChannelNode m_channelTree;
    CString m_recordFilePath;
    BYTE m_closeAfterRecording = 0;
    // Made with the window: the engine posts its teletext pages to it.
    std::unique_ptr<CQOREngine> m_engine;
    CArray<CString, const CString&> m_recordedFiles;
    BYTE m_maximised = 0;
    BYTE m_cursorHidden = 0;
    BYTE m_onTop = 0;
    POINT m_cursorPos{};
    HMONITOR m_monitor = nullptr;
    base::CCriticalSection m_uiLock;
    std::atomic<int> m_mode{0};
    // Written by the presenters' threads: guarded by m_formatLock.
    base::CCriticalSection m_formatLock;
    int m_videoWidth = 1;
    int m_videoHeight = 1;
    double m_sourceAspect = 4.0 / 3.0;
    int m_aspectMode = 0;
    double m_aspect = 4.0 / 3.0;
    CString m_recPath;
    int m_freeDiskSpace = 80;
    CSystrayWindow* m_trayWindow = nullptr;
    int m_volume = 100;
    std::atomic<uint8_t> m_liveFlag{1};
    BYTE m_muted = 0;
    BYTE m_guideListKind = 0;
    BYTE m_channelListKind = 0;
    BYTE m_pointerOverLink = 0;
    bool m_closedDown = false;
    DWORD m_firstServiceStart = 0;
    bool m_firstServiceControls = false;
    // Filled by the OSD's notifications under m_uiLock, emptied by RunPendingInput.
    struct ListChoice {
        int list, value, value2;
    };
    int m_pendingTuneNumber = -1; // -1: none
    std::vector<ListChoice> m_pendingChoices;
    struct GuideMenuRequest {
        int controlId;
        uint32_t eventKeyLow, eventKeyHigh, channelKeyLow, channelKeyHigh, mouseFlags;
        bool running, past;
    } m_guideMenuRequest{};
};
