#include "viewer/MainFrm.h"

#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "viewer/CSystrayWindow.h"
#include "viewer/LoadLocalizedString.h"
#include "viewer/ViewerGlobals.h"
#include "viewer/WideText.h"


namespace {
constexpr UINT kIconId = 128;
constexpr int kMinClientWidth = 320;
constexpr int kMinClientHeight = 240;
// The cursor stays hidden in fullscreen while it moves less than this from where it was hidden.
constexpr int kCursorSlack = 21;
constexpr UINT kHideCursorDelay = 2000;
constexpr UINT kPointerLeaveDelay = 3000;
constexpr WORD kDefaultLanguage = 1033;
constexpr UINT kPageNotAvailable = 164;
constexpr UINT kNoTeletext = 172;

CWinApp& App()
{
    return *AfxGetApp();
}

UINT Profile(LPCWSTR entry, int defaultValue)
{
    return App().GetProfileInt(L"", entry, defaultValue);
}

BOOL ScreenSaverActive()
{
    BOOL active = FALSE;
    ::SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
    return active;
}

// A REG_SZ value read by its byte count; empty when missing, of another type or not terminated
// within the value (the terminator is added then).
CString RegistryString(HKEY key, LPCWSTR name)
{
    DWORD type = 0, bytes = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || bytes < sizeof(wchar_t))
        return CString();
    std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1, L'\0');
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &bytes) != ERROR_SUCCESS)
        return CString();
    text[std::min<size_t>(bytes / sizeof(wchar_t), text.size() - 1)] = L'\0';
    return CString(text.data());
}
} // namespace

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_MOVE()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_NCHITTEST()
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_CHAR()
    ON_WM_SYSKEYDOWN()
    ON_WM_KEYDOWN()
    ON_WM_MOUSEWHEEL()
    ON_WM_TIMER()
    ON_WM_COPYDATA()
    ON_MESSAGE(WM_RENDER_DEVICE_LOST, OnDeviceLost)
    ON_MESSAGE(WM_QOR_GUIDE_CLICK, OnGuideClickMessage)
    ON_MESSAGE(WM_QOR_GUIDE_MENU, OnGuideMenuMessage)
    ON_COMMAND(ID_VIEW_HALF_SIZE, OnHalfSize)
    ON_COMMAND(ID_VIEW_NORMAL_SIZE, OnNormalSize)
    ON_COMMAND(ID_VIEW_DOUBLE_SIZE, OnDoubleSize)
    ON_COMMAND(ID_VIEW_FULLSCREEN, OnFullscreen)
    ON_COMMAND(ID_VIEW_ALWAYS_ON_TOP, OnAlwaysOnTop)
    ON_COMMAND(ID_ASPECT_SOURCE, OnAspectSource)
    ON_COMMAND(ID_ASPECT_4_3, OnAspect43)
    ON_COMMAND(ID_ASPECT_16_9, OnAspect169)
    // The OSD's buttons and tabs, the keys and the remote control.
    ON_COMMAND_RANGE(viewer::CmdFirst, viewer::CmdLast, OnDispatchCommand)
    ON_COMMAND(ID_FILE_OPEN_MEDIA, OnFileOpen)
    ON_COMMAND(ID_FILE_CLOSE_MEDIA, OnFileClose)
    ON_UPDATE_COMMAND_UI(ID_FILE_CLOSE_MEDIA, OnUpdateCloseFile)
    ON_UPDATE_COMMAND_UI_RANGE(39000, 65535, OnUpdateDynamicItem)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() : CMainFrame([](const CLiveRelay::Wiring& wiring) { return std::make_unique<CLiveRelay>(wiring); })
{
}

CMainFrame::CMainFrame(const RelayFactory& makeRelay)
{
    g_mainFrame = this;
    m_relay = makeRelay({*this, *this, m_uiLock});
    g_uiLanguage = static_cast<WORD>(Profile(L"Language", kDefaultLanguage));
    SetUiLanguage(g_uiLanguage);
    m_screenSaverWasActive = ScreenSaverActive();
}

CMainFrame::~CMainFrame()
{
    CloseDown();
    SetScreenSaver(m_screenSaverWasActive);
    if (g_mainFrame == this)
        g_mainFrame = nullptr;
}

void CMainFrame::CloseDown()
{
    if (m_closedDown)
        return;
    m_closedDown = true;
    // The engine first: its device threads call back into the recorder, the graph and the OSD.
    if (m_engine)
        m_engine->Shutdown();
    m_relay->StopRecorder();
    m_engine.reset(); // before the locks and lists it calls back into
    m_relay->LiveDestroyGraph();
    m_relay->FileClose();
    if (m_renderThread)
        m_renderThread->Exit();
    {
        base::CScopedLock ui(m_uiLock);
        m_display.DeleteChildren();
        m_display.Reset();
        m_display.SetListener(nullptr);
        m_display.SetHost(nullptr);
        m_display.SetVideoSource(nullptr);
        m_display.SetPanelFrame(nullptr);
    }
    m_d3d.ReleaseDevice();
}

bool CMainFrame::DoubleFrameRateAllowed()
{
    return g_doubleFrameRate != 0;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style = WS_BORDER;
    cs.dwExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    cs.hMenu = nullptr;
    cs.x = 100;
    cs.y = 100;
    cs.cx = 1;
    cs.cy = 1;
    // A class of its own name, so that a second viewer finds this window by class and title.
    HINSTANCE instance = AfxGetInstanceHandle();
    WNDCLASSW existing;
    if (!::GetClassInfoW(instance, kFrameClassName, &existing)) {
        WNDCLASSW wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &::DefWindowProcW; // the framework subclasses the window while creating it
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(kIconId));
        wc.lpszClassName = kFrameClassName;
        if (!::RegisterClassW(&wc))
            return FALSE;
    }
    cs.lpszClass = kFrameClassName;
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCTW cs)
{
    const int result = CWnd::OnCreate(cs);
    if (result == -1)
        return -1;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    m_renderThread = std::make_unique<CRenderThread>(m_d3d, m_uiLock, m_display, m_hWnd);
    m_renderThread->Create();
    m_renderThread->Pause();
    const std::u16string folder = viewer::ToU16(g_appFolder);
    m_engine = std::make_unique<CQOREngine>(this, folder, m_hWnd, folder);
    m_engine->GetTeletextRenderer().SetMessages(viewer::ToU16(LoadLocalizedString(kPageNotAvailable)),
                                                viewer::ToU16(LoadLocalizedString(kNoTeletext)));
    BuildChannelTree(true);
    CheckMonitor();
    ResolveRecordingsFolder();
    RegisterRemoteControl();
    return result;
}

void CMainFrame::OnClose()
{
    // The channel that plays is kept before StopAll, which stops it and leaves none current.
    SaveLastChannel();
    StopAll();
    if (m_maximised) {
        ShowWindow(SW_RESTORE);
        if (m_maximised) {
            m_maximised = 0;
            SetScreenSaver(m_screenSaverWasActive);
            KillTimer(TIMER_HIDE_CURSOR);
            ShowCursorAgain();
        }
    }
    SaveWindowSettings();
    SetTrayMode(false);
    CloseDown();
    CFrameWnd::OnClose();
}

void CMainFrame::OnDestroy()
{
    // A session end destroys the window without WM_CLOSE: stop the engine before the members go.
    CloseDown();
    if (m_trayWindow)
        SetTrayMode(false);
    CWnd::OnDestroy();
}

// Settings ------------------------------------------------------------------------------------

void CMainFrame::LoadWindowSettings()
{
    const int left = static_cast<int>(Profile(L"Left", 100));
    const int top = static_cast<int>(Profile(L"Top", 100));
    int width = static_cast<int>(Profile(L"Width", 640));
    int height = static_cast<int>(Profile(L"Height", 480));
    if (width < 1)
        width = 640;
    if (height < 1)
        height = 480;
    SetWindowPos(nullptr, left, top, width, height, 0);

    m_onTop = Profile(L"OnTop", 0) != 0;
    if (m_onTop)
        SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    ShowOnTopState();
    if (Profile(L"SysTray", 0) != 0)
        SetTrayMode(true);

    const bool fullscreen = Profile(L"Fullscreen", 0) != 0;
    g_doubleFrameRate = Profile(L"DoubleFramerate", 1) != 0;
    m_freeDiskSpace = static_cast<int>(Profile(L"FreeDiskSpace", 80));
    m_volume = std::clamp(static_cast<int>(Profile(L"volume", 100)), 0, 100);
    ShowWindow(fullscreen ? SW_SHOWMAXIMIZED : SW_SHOW);
    UpdateWindow();
}

void CMainFrame::SaveWindowSettings()
{
    CRect r;
    GetWindowRect(&r);
    App().WriteProfileInt(L"", L"Left", r.left);
    App().WriteProfileInt(L"", L"Top", r.top);
    App().WriteProfileInt(L"", L"Width", r.right - r.left);
    App().WriteProfileInt(L"", L"Height", r.bottom - r.top);
    App().WriteProfileInt(L"", L"volume", m_volume);
    App().WriteProfileInt(L"", L"OnTop", m_onTop ? 1 : 0);
}

// Recordings folder and remote control --------------------------------------------------------

CString CMainFrame::DefaultRecordingsFolder()
{
    CString folder;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                        KEY_READ, &key) == ERROR_SUCCESS) {
        folder = RegistryString(key, L"My Video");
        if (folder.IsEmpty()) {
            folder = RegistryString(key, L"Personal");
            if (!folder.IsEmpty())
                folder += L"\\My Videos";
        }
        ::RegCloseKey(key);
    }
    if (folder.IsEmpty()) {
        wchar_t path[MAX_PATH] = {};
        if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_MYVIDEO, nullptr, SHGFP_TYPE_CURRENT, path)))
            folder = path;
    }
    if (folder.IsEmpty())
        return folder;
    if (folder[folder.GetLength() - 1] == L'\\')
        folder = folder.Left(folder.GetLength() - 1);
    return folder + L"\\Tolvik recordings";
}

void CMainFrame::CreateFolderLevels(const CString& path)
{
    for (int i = 2; i < path.GetLength(); ++i) {
        if (path[i] != L'\\')
            continue;
        const CString level = path.Left(i + 1);
        if (::GetFileAttributesW(level) == INVALID_FILE_ATTRIBUTES)
            ::CreateDirectoryW(level, nullptr);
    }
}

void CMainFrame::ResolveRecordingsFolder()
{
    m_recPath = App().GetProfileString(L"", L"RecPath", L"");
    if (m_recPath.IsEmpty())
        m_recPath = DefaultRecordingsFolder();
    if (m_recPath.IsEmpty())
        return; // no folder anywhere: recordings cannot start, nothing to create
    if (m_recPath[m_recPath.GetLength() - 1] != L'\\')
        m_recPath += L"\\";
    CreateFolderLevels(m_recPath);
}

void CMainFrame::RemoteControlDevices(HWND target, RAWINPUTDEVICE (&devices)[3])
{
    const USHORT usages[3][2] = {{0xFFBC, 0x88}, {0x0C, 0x01}, {0x0C, 0x80}};
    for (int i = 0; i < 3; ++i)
        devices[i] = RAWINPUTDEVICE{usages[i][0], usages[i][1], 0, target};
}

void CMainFrame::RegisterRemoteControl()
{
    UINT count = 0;
    if (::GetRawInputDeviceList(nullptr, &count, sizeof(RAWINPUTDEVICELIST)) != 0 || count == 0)
        return;
    std::vector<RAWINPUTDEVICELIST> list(count);
    const UINT got = ::GetRawInputDeviceList(list.data(), &count, sizeof(RAWINPUTDEVICELIST));
    if (got == static_cast<UINT>(-1))
        return;
    RAWINPUTDEVICE devices[3];
    RemoteControlDevices(m_hWnd, devices);
    for (UINT i = 0; i < got; ++i)
        if (list[i].dwType == RIM_TYPEHID)
            ::RegisterRawInputDevices(devices, 3, sizeof(RAWINPUTDEVICE));
}

// Device and OSD ------------------------------------------------------------------------------

LRESULT CMainFrame::OnDeviceLost(WPARAM, LPARAM)
{
    m_monitor = nullptr; // the same re-creation as on a change of monitor
    CheckMonitor();
    return 0;
}

// Window geometry -----------------------------------------------------------------------------

CSize CMainFrame::ClientToWindowSize(int cx, int cy) const
{
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    if (window.IsRectEmpty() || window.left == -32000)
        return CSize(cx, cy);
    return CSize(cx + window.Width() - client.Width(), cy + window.Height() - client.Height());
}

void CMainFrame::OnWindowPosChanging(WINDOWPOS* pos)
{
    CFrameWnd::OnWindowPosChanging(pos);
    if (!(pos->flags & SWP_NOSIZE)) {
        const CSize minimum = ClientToWindowSize(kMinClientWidth, kMinClientHeight);
        pos->cx = std::max(pos->cx, static_cast<int>(minimum.cx));
        pos->cy = std::max(pos->cy, static_cast<int>(minimum.cy));
    }
    // Only a window that moves in its normal state snaps; maximised and minimised ones keep
    // the places the system gives them.
    if ((pos->flags & SWP_NOMOVE) || ::IsZoomed(m_hWnd) || ::IsIconic(m_hWnd))
        return;
    CRect current;
    GetWindowRect(&current);
    const int cx = (pos->flags & SWP_NOSIZE) ? current.Width() : pos->cx;
    const int cy = (pos->flags & SWP_NOSIZE) ? current.Height() : pos->cy;
    const RECT target{pos->x, pos->y, pos->x + cx, pos->y + cy};
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoW(::MonitorFromRect(&target, MONITOR_DEFAULTTONEAREST), &info))
        return;
    const viewer::Box work{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
    viewer::SnapToWorkArea(pos->x, pos->y, cx, cy, work);
}

void CMainFrame::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params)
{
    // A 1-pixel border all round; the first rectangle is the proposed client area either way.
    ::InflateRect(&params->rgrc[0], -1, -1);
}

void CMainFrame::OnNcPaint()
{
    HDC dc = ::GetWindowDC(m_hWnd);
    if (!dc)
        return;
    CRect r;
    GetWindowRect(&r);
    HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(HOLLOW_BRUSH));
    ::Rectangle(dc, 0, 0, r.Width(), r.Height());
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::ReleaseDC(m_hWnd, dc);
}

LRESULT CMainFrame::OnNcHitTest(CPoint point)
{
    ScreenToClient(&point);
    CRect client;
    GetClientRect(&client);
    return viewer::HitTestZone(point.x, point.y, client.Width(), client.Height(), m_maximised != 0);
}

void CMainFrame::OnPaint()
{
    ::ValidateRect(m_hWnd, nullptr); // Direct3D draws everything
    // An uncovered window needs the picture again, which the render thread presents only when asked.
    if (m_renderThread)
        m_renderThread->RequestPresent();
}

void CMainFrame::OnSize(UINT type, int cx, int cy)
{
    if (type == SIZE_MAXIMIZED && !m_maximised) {
        m_maximised = 1;
        SetScreenSaver(FALSE);
        ::GetCursorPos(&m_cursorPos);
        SetTimer(TIMER_HIDE_CURSOR, kHideCursorDelay);
    } else if (type == SIZE_RESTORED) {
        if (m_maximised) {
            m_maximised = 0;
            SetScreenSaver(m_screenSaverWasActive);
            KillTimer(TIMER_HIDE_CURSOR);
            ShowCursorAgain();
        }
        ShowWindow(SW_SHOW);
    }
    CFrameWnd::OnSize(type, cx, cy);
    // A minimised window reports 0 x 0; the OSD keeps its last size (its scale divides by it).
    if (type != SIZE_MINIMIZED)
        Resize(cx, cy);
    CheckMonitor();
}

void CMainFrame::OnMove(int x, int y)
{
    CFrameWnd::OnMove(x, y);
    CheckMonitor();
}

void CMainFrame::SetVideoSize(viewer::VideoSize size)
{
    if (m_maximised)
        ShowWindow(SW_RESTORE);
    int width;
    double aspect;
    {
        base::CScopedLock format(m_formatLock);
        width = m_videoWidth;
        aspect = m_aspect;
    }
    const viewer::ClientSize client = viewer::VideoClientSize(width, aspect, size);
    const CSize window = ClientToWindowSize(client.cx, client.cy);
    SetWindowPos(nullptr, 0, 0, window.cx, window.cy, SWP_NOMOVE | SWP_NOZORDER);
}

void CMainFrame::ToggleFullscreen()
{
    ShowWindow(m_maximised ? SW_RESTORE : SW_SHOWMAXIMIZED);
}

void CMainFrame::ToggleOnTop()
{
    m_onTop = !m_onTop;
    SetWindowPos(m_onTop ? &CWnd::wndTopMost : &CWnd::wndNoTopMost, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    ShowOnTopState();
}

void CMainFrame::ShowOnTopState()
{
    base::CScopedLock ui(m_uiLock);
    m_display.SetOnTopButton(m_onTop != 0);
}

void CMainFrame::SetAspectMode(int mode)
{
    {
        base::CScopedLock format(m_formatLock);
        m_aspectMode = mode;
    }
    PostMessage(WM_QOR_ASPECT_CHANGED);
}

void CMainFrame::OnUpdateCloseFile(CCmdUI* ui)
{
    ui->Enable(m_mode == viewer::ModeFile);
}

void CMainFrame::OnUpdateDynamicItem(CCmdUI* ui)
{
    ui->Enable(TRUE);
}

void CMainFrame::SetScreenSaver(BOOL active)
{
    ::SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, active, nullptr, SPIF_SENDCHANGE);
}

// Tray ----------------------------------------------------------------------------------------

void CMainFrame::SetTrayMode(bool on)
{
    if (on) {
        if (!m_trayWindow) {
            m_trayWindow = new CSystrayWindow([this] { RestoreFromTray(); });
            if (!m_trayWindow->Create()) {
                delete m_trayWindow;
                m_trayWindow = nullptr;
                return;
            }
        }
        ModifyStyleEx(WS_EX_TOOLWINDOW, 0);
        ShowWindow(SW_HIDE);
        ModifyStyleEx(0, WS_EX_TOOLWINDOW);
        ShowWindow(SW_SHOW);
        return;
    }
    if (m_trayWindow) {
        m_trayWindow->CloseWindow();
        m_trayWindow->DestroyWindow();
        delete m_trayWindow;
        m_trayWindow = nullptr;
    }
    ModifyStyleEx(WS_EX_TOOLWINDOW, 0);
}

void CMainFrame::Minimise()
{
    if (!m_trayWindow) {
        ShowWindow(SW_MINIMIZE);
        return;
    }
    ModifyStyleEx(WS_EX_TOOLWINDOW, 0);
    ShowWindow(SW_HIDE);
}

void CMainFrame::RestoreFromTray()
{
    if (!m_trayWindow)
        return;
    ModifyStyleEx(0, WS_EX_TOOLWINDOW);
    ShowWindow(SW_SHOW);
    ::SwitchToThisWindow(m_hWnd, FALSE);
}

// Mouse, cursor and characters ----------------------------------------------------------------

void CMainFrame::HideCursor()
{
    if (m_cursorHidden)
        return;
    ::ShowCursor(FALSE);
    m_cursorHidden = 1;
    ::GetCursorPos(&m_cursorPos);
}

void CMainFrame::ShowCursorAgain()
{
    if (!m_cursorHidden)
        return;
    ::ShowCursor(TRUE);
    m_cursorHidden = 0;
}

void CMainFrame::RestartHideTimer()
{
    KillTimer(TIMER_HIDE_CURSOR);
    SetTimer(TIMER_HIDE_CURSOR, kHideCursorDelay);
}

void CMainFrame::OnMouseMove(UINT flags, CPoint point)
{
    {
        base::CScopedLock ui(m_uiLock);
        m_display.OnMouseMove(flags, point.x, point.y);
        if (m_maximised) {
            POINT now;
            ::GetCursorPos(&now);
            const bool still = std::abs(now.x - m_cursorPos.x) < kCursorSlack &&
                               std::abs(now.y - m_cursorPos.y) < kCursorSlack;
            if (!(m_cursorHidden && still)) {
                if (!m_cursorHidden)
                    m_cursorPos = now;
                ShowCursorAgain();
                RestartHideTimer();
            }
        }
    }
    KillTimer(TIMER_POINTER_LEAVE);
    SetTimer(TIMER_POINTER_LEAVE, kPointerLeaveDelay);
}

void CMainFrame::OnLButtonDown(UINT flags, CPoint point)
{
    if (m_maximised) {
        ShowCursorAgain();
        RestartHideTimer();
    }
    if (!(flags & (MK_LBUTTON | MK_RBUTTON)))
        return;
    bool consumed;
    {
        base::CScopedLock ui(m_uiLock);
        consumed = m_display.OnLButtonDown(flags, point.x, point.y);
    }
    if (!consumed && !m_maximised)
        SendMessage(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

void CMainFrame::OnRButtonDown(UINT flags, CPoint point)
{
    OnLButtonDown(flags, point);
}

void CMainFrame::OnLButtonUp(UINT flags, CPoint point)
{
    base::CScopedLock ui(m_uiLock);
    m_display.OnLButtonUp(flags, point.x, point.y);
}

void CMainFrame::OnLButtonDblClk(UINT flags, CPoint point)
{
    bool consumed;
    {
        base::CScopedLock ui(m_uiLock);
        consumed = m_display.OnLButtonDblClk(point.x, point.y);
    }
    if (!consumed && !m_display.IsTeletextShown())
        ToggleFullscreen();
}

void CMainFrame::OnChar(UINT ch, UINT repeat, UINT flags)
{
    if (ch < L'0' || ch > L'9')
        return;
    const int digit = static_cast<int>(ch - L'0');
    if (m_display.IsTeletextShown() && m_engine) {
        m_engine->TeletextKeyDown(VK_NUMPAD0 + digit);
        return;
    }
    if (m_display.IsGuideShown() || m_display.IsMenuShown() || m_display.IsRecordedShown() ||
        m_display.IsSwitcherShown())
        return;
    // A digit starts or continues the channel-number entry.
    {
        base::CScopedLock ui(m_uiLock);
        if (!m_display.IsTuneShown()) {
            m_display.ShowTune(true);
            m_display.ClearTuneNumber();
        }
        m_display.TuneDigit(digit);
    }
    RunPendingInput();
}

void CMainFrame::OnSysKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (m_display.IsTeletextShown() && m_engine)
        m_engine->TeletextKeyDown(static_cast<int32_t>(key));
    CFrameWnd::OnSysKeyDown(key, repeat, flags);
}
