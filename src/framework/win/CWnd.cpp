#include "framework/win/CWnd.h"

#include <mutex>
#include <set>
#include <string>

#include "framework/win/CWinApp.h"
#include "framework/win/HandleMaps.h"

template <>
void CTempHandleMap<CWnd, HWND>::Releaser::Set(CWnd& object, HWND handle)
{
    object.m_hWnd = handle;
}

template <>
void CTempHandleMap<CWnd, HWND>::Releaser::operator()(CWnd* object) const
{
    object->m_hWnd = nullptr; // a wrapper does not own the window
    delete object;
}

namespace {

// The message being handled on this thread, for Default().
thread_local MSG t_currentMessage = {};
// The object whose CreateEx is running on this thread and has not met its window yet, and
// the class its window is made of.
thread_local CWnd* t_windowBeingCreated = nullptr;
thread_local LPCWSTR t_classBeingCreated = nullptr;

// Whether a window of class `actual` is the one being created: the platform may make helper
// windows of its own on this thread meanwhile.
bool IsClassBeingCreated(LPCWSTR actual)
{
    LPCWSTR expected = t_classBeingCreated;
    if (IS_INTRESOURCE(expected) || IS_INTRESOURCE(actual))
        return expected == actual;
    return ::lstrcmpiW(expected, actual) == 0;
}

} // namespace

const CWnd CWnd::wndTop = CWnd(HWND_TOP);
const CWnd CWnd::wndBottom = CWnd(HWND_BOTTOM);
const CWnd CWnd::wndTopMost = CWnd(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost = CWnd(HWND_NOTOPMOST);

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd()
{
    if (m_hWnd && CPermanentWindowMap::Find(m_hWnd) == this)
        DestroyWindow();
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    if (CWnd* wnd = FromHandlePermanent(hwnd))
        return wnd;
    return CTempHandleMap<CWnd, HWND>::Get(hwnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    return hwnd ? CPermanentWindowMap::Find(hwnd) : nullptr;
}

void CWnd::DeleteTempMap()
{
    CTempHandleMap<CWnd, HWND>::Clear();
}

void CWnd::Attach(HWND hwnd)
{
    m_hWnd = hwnd;
    CPermanentWindowMap::Add(hwnd, this);
}

void CWnd::Detach()
{
    if (m_hWnd)
        CPermanentWindowMap::Remove(m_hWnd);
    m_hWnd = nullptr;
}

void CWnd::Subclass(HWND hwnd)
{
    Attach(hwnd);
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    m_superProc = previous == &AfxWndProc ? &::DefWindowProcW : previous;
}

LRESULT CALLBACK AfxCbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && t_windowBeingCreated &&
        IsClassBeingCreated(reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs->lpszClass)) {
        CWnd* wnd = t_windowBeingCreated;
        t_windowBeingCreated = nullptr;
        wnd->Subclass(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (!wnd)
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return wnd->Dispatch(message, wParam, lParam);
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG saved = t_currentMessage;
    t_currentMessage.hwnd = m_hWnd;
    t_currentMessage.message = message;
    t_currentMessage.wParam = wParam;
    t_currentMessage.lParam = lParam;
    LRESULT result = WindowProc(message, wParam, lParam);
    t_currentMessage = saved;
    if (message == WM_NCDESTROY) {
        // The window's last message: give the window back its class's procedure, forget it,
        // end the message loop when it was the main window, and let the object go.
        if (m_superProc && m_hWnd)
            ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superProc));
        Detach();
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd == this) {
            app->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
        PostNcDestroy();
    }
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

CWnd* CWnd::NotifyingChild(UINT message, WPARAM wParam, LPARAM lParam) const
{
    HWND child = nullptr;
    if (message == WM_DRAWITEM && wParam != 0)
        child = reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;
    else if (message == WM_MEASUREITEM && wParam != 0)
        child = ::GetDlgItem(m_hWnd, static_cast<int>(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->CtlID));
    else if (message == WM_NOTIFY)
        child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    CWnd* wnd = child ? FromHandlePermanent(child) : nullptr;
    return wnd != this ? wnd : nullptr;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != WM_NOTIFY)
        return FALSE;
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    const MessageMapEntry* entry =
        FindEntry(WM_REFLECT_BASE + WM_NOTIFY, static_cast<int>(header->code), static_cast<UINT>(header->idFrom));
    if (!entry)
        return FALSE;
    LRESULT value = 0;
    entry->handler(this, wParam, lParam, &value);
    *result = value;
    return TRUE;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_DRAWITEM || message == WM_MEASUREITEM || message == WM_NOTIFY) {
        if (CWnd* child = NotifyingChild(message, wParam, lParam)) {
            if (child->OnChildNotify(message, wParam, lParam, result))
                return TRUE;
        }
        if (message == WM_MEASUREITEM && wParam != 0 && !FindEntry(message, 0, 0)) {
            OnMeasureItem(static_cast<int>(wParam), reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            *result = TRUE;
            return TRUE;
        }
        if (message == WM_NOTIFY) {
            const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
            const MessageMapEntry* entry =
                FindEntry(WM_NOTIFY, static_cast<int>(header->code), static_cast<UINT>(header->idFrom));
            if (!entry)
                return FALSE;
            LRESULT value = 0;
            entry->handler(this, wParam, lParam, &value);
            *result = value;
            return TRUE;
        }
    }
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *result = 0;
        return TRUE;
    }
    const MessageMapEntry* entry = FindEntry(message, 0, 0);
    if (!entry)
        return FALSE;
    LRESULT value = 0;
    entry->handler(this, wParam, lParam, &value);
    *result = value;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // Menus and accelerators (no control window) are commands whatever their high word says.
    UINT id = LOWORD(wParam);
    int code = lParam ? static_cast<int>(HIWORD(wParam)) : CN_COMMAND;
    return OnCmdMsg(id, code, nullptr);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_superProc)
        return ::CallWindowProcW(m_superProc, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(t_currentMessage.message, t_currentMessage.wParam, t_currentMessage.lParam);
}

int CWnd::OnCreate(LPCREATESTRUCTW cs)
{
    return static_cast<int>(Default());
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
    return TRUE;
}

BOOL CWnd::PreTranslateMessage(MSG* msg)
{
    return FALSE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menu, LPVOID param)
{
    CREATESTRUCTW cs = {};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = style;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = menu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    HHOOK hook = ::SetWindowsHookExW(WH_CBT, &AfxCbtHook, nullptr, ::GetCurrentThreadId());
    if (!hook) {
        PostNcDestroy();
        return FALSE;
    }
    CWnd* outer = t_windowBeingCreated;
    LPCWSTR outerClass = t_classBeingCreated;
    t_windowBeingCreated = this;
    t_classBeingCreated = cs.lpszClass;
    HWND hwnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                  cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    bool neverAttached = t_windowBeingCreated == this;
    t_windowBeingCreated = outer;
    t_classBeingCreated = outerClass;
    ::UnhookWindowsHookEx(hook);
    if (!hwnd) {
        // A window that was attached and then refused (WM_CREATE -1) has had WM_NCDESTROY,
        // and with it PostNcDestroy; one that never came into being gets it here.
        if (neverAttached)
            PostNcDestroy();
        return FALSE;
    }
    if (neverAttached)
        Subclass(hwnd); // the hook did not recognise it: its later messages still arrive
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id, LPVOID param)
{
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
}

BOOL CWnd::SubclassWindow(HWND hwnd)
{
    if (m_hWnd || !hwnd || FromHandlePermanent(hwnd))
        return FALSE;
    Subclass(hwnd);
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    return parent ? SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id))) : FALSE;
}

void CWnd::CenterWindow()
{
    RECT area = {};
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if ((GetStyle() & WS_CHILD) != 0)
        ::GetClientRect(::GetParent(m_hWnd), &area);
    else if (owner && ::IsWindowVisible(owner))
        ::GetWindowRect(owner, &area);
    else {
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &info);
        area = info.rcWork;
    }
    RECT rect;
    ::GetWindowRect(m_hWnd, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    ::SetWindowPos(m_hWnd, nullptr, (area.left + area.right - width) / 2, (area.top + area.bottom - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int width, int height, UINT flags)
{
    return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : nullptr, x, y, width, height, flags);
}

void CWnd::ClientToScreen(LPRECT rect) const
{
    ::MapWindowPoints(m_hWnd, HWND_DESKTOP, reinterpret_cast<LPPOINT>(rect), 2);
}

void CWnd::ScreenToClient(LPRECT rect) const
{
    ::MapWindowPoints(HWND_DESKTOP, m_hWnd, reinterpret_cast<LPPOINT>(rect), 2);
}

void CWnd::GetWindowText(CString& text) const
{
    // GetWindowTextW counts in characters, terminator included.
    int length = ::GetWindowTextLengthW(m_hWnd);
    wchar_t* buffer = text.GetBuffer(length + 1);
    int copied = ::GetWindowTextW(m_hWnd, buffer, length + 1);
    text.ReleaseBuffer(copied > 0 ? copied : 0);
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags)
{
    return ModifyStyleBits(GWL_STYLE, remove, add, flags);
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags)
{
    return ModifyStyleBits(GWL_EXSTYLE, remove, add, flags);
}

BOOL CWnd::ModifyStyleBits(int index, DWORD remove, DWORD add, UINT flags)
{
    DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, index));
    DWORD changed = (style & ~remove) | add;
    if (changed == style)
        return FALSE;
    ::SetWindowLongPtrW(m_hWnd, index, static_cast<LONG_PTR>(changed));
    if (flags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc)
{
    if (elapse > USER_TIMER_MAXIMUM)
        elapse = USER_TIMER_MAXIMUM;
    return ::SetTimer(m_hWnd, id, elapse, proc);
}

LPCWSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    static std::mutex s_mutex;
    static std::set<std::wstring> s_names; // node-based: the names keep their addresses
    HINSTANCE instance = AfxGetInstanceHandle();
    CString name;
    name.Format(L"Tolvik:%p:%x:%p:%p:%p", static_cast<void*>(instance), classStyle, static_cast<void*>(cursor),
                static_cast<void*>(background), static_cast<void*>(icon));
    std::lock_guard<std::mutex> lock(s_mutex);
    auto inserted = s_names.insert(std::wstring(name.GetString()));
    LPCWSTR className = inserted.first->c_str();
    WNDCLASSW existing;
    if (!::GetClassInfoW(instance, className, &existing)) {
        WNDCLASSW wc = {};
        wc.style = classStyle;
        wc.lpfnWndProc = &::DefWindowProcW; // every window is subclassed while it is created
        wc.hInstance = instance;
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.lpszClassName = className;
        if (!::RegisterClassW(&wc)) {
            s_names.erase(inserted.first);
            return nullptr;
        }
    }
    return className;
}
