// A window object: owns one window handle, receives its messages through the message map of
// its class and routes WM_COMMAND to OnCmdMsg.
#pragma once

#include <windows.h>

#include "framework/CString.h"
#include "framework/win/CCmdTarget.h"
#include "framework/win/CPoint.h"
#include "framework/win/CRect.h"

class CFrameWnd;
struct CDataExchange;

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    // A window object that still owns a window destroys it.
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return GetSafeHwnd(); }

    // The object of a window made by this framework, else a temporary wrapper that lives
    // until the message loop is next idle (null for a null handle).
    static CWnd* FromHandle(HWND hwnd);
    static CWnd* FromHandlePermanent(HWND hwnd);
    static void DeleteTempMap();

    // z-order positions for SetWindowPos.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    // Creates the window and attaches it before its first message (WM_NCCREATE, WM_CREATE
    // arrive in the map). When no window results, PostNcDestroy has been called.
    virtual BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                          int width, int height, HWND parent, HMENU menu, LPVOID param = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, LPVOID param = nullptr);
    virtual BOOL DestroyWindow();

    BOOL CloseWindow() { return ::CloseWindow(m_hWnd); }
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int width, int height, UINT flags);
    void GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
    void GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
    void ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }
    void ClientToScreen(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }
    void ScreenToClient(LPRECT rect) const;
    void SetWindowText(LPCWSTR text) { ::SetWindowTextW(m_hWnd, text); }
    BOOL MoveWindow(const RECT& rect, BOOL repaint = TRUE)
    {
        return ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
    }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    // Centres the window on its owner, or on the work area of its monitor without one.
    void CenterWindow();
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    // The nearest ancestor that is a frame window of this framework.
    CFrameWnd* GetParentFrame() const;
    // Moves data between the controls and the members through DoDataExchange: from the
    // controls when save is TRUE, into them otherwise.
    BOOL UpdateData(BOOL save = TRUE);
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    void SetDlgItemText(int id, LPCWSTR text) { ::SetDlgItemTextW(m_hWnd, id, text); }
    void SetFont(HFONT font, BOOL redraw = TRUE)
    {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)); }
    // Takes over a window made elsewhere (a dialog's control): its messages then pass through
    // this object's map first. FALSE when this object has a window already.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    void GetWindowText(CString& text) const;
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
    // TRUE when the style changed; with flags, SetWindowPos makes the frame follow.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);

    // Periods above USER_TIMER_MAXIMUM are clamped to it rather than wrapped.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr);
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }

    // The platform's handling of the message being handled now, with its original parameters.
    LRESULT Default();

    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Entry point of the shared window procedure.
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Message routing: OnWndMsg answers from the map (WM_COMMAND through OnCommand) and
    // reports whether it did; what it leaves goes to DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // A control's turn at a message its parent received about it (WM_DRAWITEM, WM_MEASUREITEM,
    // WM_NOTIFY): TRUE with the result when the control answered it. By default its
    // ON_NOTIFY_REFLECT entries answer notifications.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // What the parent answers for an owner-drawn control that has no object yet: the platform
    // may ask while the control is being created, before anything could subclass it.
    virtual void OnMeasureItem(int id, MEASUREITEMSTRUCT* measure) {}
    // Binds controls to member objects (DDX_Control) for UpdateData.
    virtual void DoDataExchange(CDataExchange* dx) {}
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called after the window's last message; the object may delete itself here.
    virtual void PostNcDestroy() {}

    // Default handlers: the platform's handling of the message.
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSize(UINT type, int cx, int cy) { Default(); }
    void OnMove(int x, int y) { Default(); }
    void OnWindowPosChanging(WINDOWPOS* pos) { Default(); }
    void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params) { Default(); }
    void OnNcPaint() { Default(); }
    LRESULT OnNcHitTest(CPoint point) { return Default(); }
    void OnPaint() { Default(); }
    void OnMouseMove(UINT flags, CPoint point) { Default(); }
    void OnLButtonDown(UINT flags, CPoint point) { Default(); }
    void OnRButtonDown(UINT flags, CPoint point) { Default(); }
    void OnLButtonUp(UINT flags, CPoint point) { Default(); }
    void OnLButtonDblClk(UINT flags, CPoint point) { Default(); }
    void OnChar(UINT ch, UINT repeat, UINT flags) { Default(); }
    void OnKeyDown(UINT key, UINT repeat, UINT flags) { Default(); }
    void OnSysKeyDown(UINT key, UINT repeat, UINT flags) { Default(); }
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point) { return static_cast<BOOL>(Default()); }
    void OnTimer(UINT_PTR id) { Default(); }
    BOOL OnCopyData(CWnd* sender, COPYDATASTRUCT* data) { return static_cast<BOOL>(Default()); }
    void OnClose() { Default(); }
    void OnDestroy() { Default(); }
    void OnHScroll(UINT code, UINT position, CWnd* bar) { Default(); }

    DECLARE_MESSAGE_MAP()

private:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK AfxCbtHook(int, WPARAM, LPARAM);

    void Attach(HWND hwnd);
    void Detach();
    friend class CDialogTemplateWindow;
    // Attaches hwnd and routes its messages through this object.
    void Subclass(HWND hwnd);
    // The control object a parent's message is about, when it has one.
    CWnd* NotifyingChild(UINT message, WPARAM wParam, LPARAM lParam) const;
    BOOL ModifyStyleBits(int index, DWORD remove, DWORD add, UINT flags);

    // The z-order positions above: not windows, only their handle values.
    explicit CWnd(HWND position) : m_hWnd(position) {}

    WNDPROC m_superProc = nullptr; // the window class's own procedure
};

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// A window class of the given style, cursor, background brush and icon, registered once
// per combination; the name stays valid for the life of the process.
LPCWSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                            HICON icon = nullptr);

// Window message entries for the handlers above.
#define ON_WM_CREATE() \
    TOLVIK_MESSAGE_ENTRY(WM_CREATE, *result = self->OnCreate(reinterpret_cast<LPCREATESTRUCTW>(lParam)))
#define ON_WM_SIZE() \
    TOLVIK_MESSAGE_ENTRY(WM_SIZE, self->OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_MOVE() \
    TOLVIK_MESSAGE_ENTRY(WM_MOVE, self->OnMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))))
#define ON_WM_WINDOWPOSCHANGING() \
    TOLVIK_MESSAGE_ENTRY(WM_WINDOWPOSCHANGING, self->OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam)))
#define ON_WM_NCCALCSIZE() \
    TOLVIK_MESSAGE_ENTRY(WM_NCCALCSIZE, \
        self->OnNcCalcSize(static_cast<BOOL>(wParam), reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)))
#define ON_WM_NCPAINT() TOLVIK_MESSAGE_ENTRY(WM_NCPAINT, self->OnNcPaint())
#define ON_WM_NCHITTEST() \
    TOLVIK_MESSAGE_ENTRY(WM_NCHITTEST, *result = self->OnNcHitTest(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)))))
#define ON_WM_PAINT() TOLVIK_MESSAGE_ENTRY(WM_PAINT, self->OnPaint())
#define TOLVIK_MOUSE_ENTRY(message, memberFxn) \
    TOLVIK_MESSAGE_ENTRY(message, self->memberFxn(static_cast<UINT>(wParam), \
        CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)))))
#define ON_WM_MOUSEMOVE() TOLVIK_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() TOLVIK_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_RBUTTONDOWN() TOLVIK_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_LBUTTONUP() TOLVIK_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() TOLVIK_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define TOLVIK_KEY_ENTRY(message, memberFxn) \
    TOLVIK_MESSAGE_ENTRY(message, self->memberFxn(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_CHAR() TOLVIK_KEY_ENTRY(WM_CHAR, OnChar)
#define ON_WM_KEYDOWN() TOLVIK_KEY_ENTRY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_SYSKEYDOWN() TOLVIK_KEY_ENTRY(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_MOUSEWHEEL() \
    TOLVIK_MESSAGE_ENTRY(WM_MOUSEWHEEL, *result = self->OnMouseWheel(GET_KEYSTATE_WPARAM(wParam), \
        GET_WHEEL_DELTA_WPARAM(wParam), CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)))))
#define ON_WM_TIMER() TOLVIK_MESSAGE_ENTRY(WM_TIMER, self->OnTimer(static_cast<UINT_PTR>(wParam)))
#define ON_WM_COPYDATA() \
    TOLVIK_MESSAGE_ENTRY(WM_COPYDATA, *result = self->OnCopyData(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), \
        reinterpret_cast<COPYDATASTRUCT*>(lParam)))
#define ON_WM_CLOSE() TOLVIK_MESSAGE_ENTRY(WM_CLOSE, self->OnClose())
// HBRUSH OnCtlColorEdit(HDC, CWnd* edit): the colours of an edit child (text and background set on
// the device context) and the brush it is filled with.
#define ON_WM_CTLCOLOREDIT() \
    TOLVIK_MESSAGE_ENTRY(WM_CTLCOLOREDIT, *result = reinterpret_cast<LRESULT>(self->OnCtlColorEdit( \
        reinterpret_cast<HDC>(wParam), CWnd::FromHandle(reinterpret_cast<HWND>(lParam)))))
#define ON_WM_DESTROY() TOLVIK_MESSAGE_ENTRY(WM_DESTROY, self->OnDestroy())
#define ON_WM_HSCROLL() \
    TOLVIK_MESSAGE_ENTRY(WM_HSCROLL, self->OnHScroll(LOWORD(wParam), HIWORD(wParam), \
        CWnd::FromHandle(reinterpret_cast<HWND>(lParam))))
