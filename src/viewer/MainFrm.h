// The viewer's one top-level window: borderless and resizable, maximised as the fullscreen state,
// optionally on top or in the notification area. It owns the Direct3D presentation, the OSD root,
// the playback graphs, the render thread and the channel engine.
#pragma once

#include <memory>

#include "base/Lock.h"
#include "framework/win/Afx.h"
#include "viewer/CChannelNode.h"
#include "viewer/CDVBPlayback.h"
#include "viewer/epg/CEPGData.h"
#include "viewer/CFilePlayback.h"
#include "viewer/CMPEG2Recorder.h"
#include "viewer/CQORDisplay.h"
#include "viewer/CQOREngine.h"
#include "viewer/CSAPParser.h"
#include "viewer/CVideoStreamTable.h"
#include "viewer/WindowGeometry.h"
#include "viewer/d3d/CD3DHandler.h"
#include "viewer/d3d/CRenderThread.h"

class CSystrayWindow;

// Commands of the window menu and the accelerators.
enum : UINT {
    ID_ASPECT_4_3 = 32769,
    ID_ASPECT_16_9 = 32770,
    ID_VIEW_HALF_SIZE = 32771,
    ID_VIEW_NORMAL_SIZE = 32772,
    ID_VIEW_DOUBLE_SIZE = 32773,
    ID_VIEW_FULLSCREEN = 32774,
    ID_FILE_OPEN_MEDIA = 32776,
    ID_FILE_CLOSE_MEDIA = 32778,
    ID_FILE_EXIT = 32780,
    ID_ASPECT_SOURCE = 32783,
    ID_VIEW_ALWAYS_ON_TOP = 32803,
    ID_FILE_RECORDED = 32805,
};

// User messages of the frame.
enum : UINT {
    WM_QOR_ASPECT_CHANGED = 2027,
    WM_QOR_START_LAST_CHANNEL = 2028,
};

enum : UINT_PTR {
    TIMER_HIDE_CURSOR = 101,
    TIMER_POINTER_LEAVE = 104,
};

class CMainFrame : public CFrameWnd, public CQOREngineUserInterface, public CMPEG2Recorder::CRecCallback {
public:
    CMainFrame();
    ~CMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

    void LoadWindowSettings();
    void SaveWindowSettings();

    void SetVideoSize(viewer::VideoSize size);
    void ToggleFullscreen();
    void ToggleOnTop();
    void SetTrayMode(bool on);
    void Minimise();
    void RestoreFromTray();
    void HideCursor();
    void ShowCursorAgain();
    // The window size whose client area is cx x cy.
    CSize ClientToWindowSize(int cx, int cy) const;
    // Re-creates the Direct3D device when the window moved to another monitor.
    void CheckMonitor();
    // The device and the OSD follow the client size.
    void Resize(int cx, int cy);
    // Stops the engine so that nothing calls back into the frame; runs once.
    void CloseDown();

    void OnDiskFull() override {}

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
    CQORDisplay& GetDisplay() { return m_display; }
    base::CCriticalSection& GetUiLock() { return m_uiLock; }

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
    void OnTimer(UINT_PTR id);
    LRESULT OnDeviceLost(WPARAM, LPARAM);

    void OnHalfSize() { SetVideoSize(viewer::VideoSize::Half); }
    void OnNormalSize() { SetVideoSize(viewer::VideoSize::Normal); }
    void OnDoubleSize() { SetVideoSize(viewer::VideoSize::Double); }
    void OnFullscreen() { ToggleFullscreen(); }
    void OnAlwaysOnTop() { ToggleOnTop(); }
    void OnAspectSource() { SetAspectMode(0); }
    void OnAspect43() { SetAspectMode(1); }
    void OnAspect169() { SetAspectMode(2); }
    void OnUpdateCloseFile(CCmdUI* ui);
    void OnUpdateDynamicItem(CCmdUI* ui);

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
    CFilePlayback m_filePlayback;
    CDVBPlayback m_dvbPlayback;
    CVideoStreamTable m_videoStreams;
    std::unique_ptr<CRenderThread> m_renderThread; // its thread starts with the window
    CSAPParser m_sapParser;
    CChannelNode m_channelTree;
    base::CCriticalSection m_dataLock;
    CMPEG2Recorder* m_recorder = nullptr;
    CString m_recordFilePath;
    BYTE m_closeAfterRecording = 0;
    CQOREngine m_engine;
    CArray<CString, const CString&> m_recordedFiles;
    BYTE m_maximised = 0;
    BYTE m_cursorHidden = 0;
    BYTE m_onTop = 0;
    POINT m_cursorPos{};
    HMONITOR m_monitor = nullptr;
    base::CCriticalSection m_uiLock;
    int m_mode = 0;
    int m_videoWidth = 1;
    int m_videoHeight = 1;
    double m_sourceAspect = 4.0 / 3.0;
    int m_aspectMode = 0;
    double m_aspect = 4.0 / 3.0;
    CString m_recPath;
    int m_freeDiskSpace = 80;
    CSystrayWindow* m_trayWindow = nullptr;
    int m_volume = 100;
    BYTE m_liveFlag = 1;
    DWORD m_lastPacketTick = 0;
    BYTE m_muted = 0;
    BYTE m_guideListKind = 0;
    BYTE m_channelListKind = 0;
    BYTE m_pointerOverLink = 0;
    bool m_closedDown = false;
};
