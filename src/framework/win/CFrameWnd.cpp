#include "framework/win/CFrameWnd.h"

#include "framework/win/CCmdUI.h"
#include "framework/win/CCreateContext.h"
#include "framework/win/CRuntimeClass.h"
#include "framework/win/CView.h"
#include "framework/win/CMenu.h"
#include "framework/win/CWinApp.h"

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_CLOSE()
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

BOOL CFrameWnd::LoadFrame(UINT id, DWORD style, CWnd* parent, void* context)
{
    HINSTANCE resources = AfxGetResourceHandle();
    m_resourceId = id;
    // The title is the string of the id, up to its first line break.
    CString title;
    title.LoadString(resources, id, 0);
    int lineBreak = title.Find(L'\n');
    if (lineBreak >= 0)
        title = title.Left(lineBreak);
    HMENU menu = ::FindResourceW(resources, MAKEINTRESOURCEW(id), RT_MENU)
                     ? ::LoadMenuW(resources, MAKEINTRESOURCEW(id))
                     : nullptr;
    HACCEL accelerators = ::FindResourceW(resources, MAKEINTRESOURCEW(id), RT_ACCELERATOR)
                              ? ::LoadAcceleratorsW(resources, MAKEINTRESOURCEW(id))
                              : nullptr;
    style &= ~static_cast<DWORD>(FWS_ADDTOTITLE);
    if (!CreateEx(0, nullptr, title, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  parent ? parent->m_hWnd : nullptr, menu, context)) {
        // This object is gone; only what the platform did not take with the window is released.
        if (menu && ::IsMenu(menu))
            ::DestroyMenu(menu);
        return FALSE;
    }
    if (menu && ::GetMenu(m_hWnd) != menu)
        ::DestroyMenu(menu); // PreCreateWindow chose no menu
    m_hAccelTable = accelerators;
    return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!cs.lpszClass) {
        HICON icon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_resourceId));
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorW(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), icon);
    }
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hAccelTable && m_hWnd)
        return ::TranslateAcceleratorW(m_hWnd, m_hAccelTable, msg) != 0;
    return FALSE;
}

BOOL CFrameWnd::OnCmdMsg(UINT id, int code, void* extra)
{
    if (CWnd::OnCmdMsg(id, code, extra))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app ? app->OnCmdMsg(id, code, extra) : FALSE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCTW cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    auto* context = static_cast<CCreateContext*>(cs->lpCreateParams);
    if (context && !OnCreateClient(cs, context))
        return -1;
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCTW, CCreateContext* context)
{
    if (!context->m_pNewViewClass)
        return TRUE;
    CView* view = dynamic_cast<CView*>(context->m_pNewViewClass->CreateObject());
    if (!view)
        return FALSE;
    // A view that gets no window has deleted itself.
    if (!view->Create(this, AFX_IDW_PANE_FIRST, context))
        return FALSE;
    m_pViewActive = view;
    RecalcLayout();
    return TRUE;
}

void CFrameWnd::RecalcLayout()
{
    if (!m_pViewActive || !m_pViewActive->m_hWnd)
        return;
    RECT client;
    GetClientRect(&client);
    m_pViewActive->MoveWindow(client);
}

void CFrameWnd::OnSize(UINT type, int cx, int cy)
{
    Default();
    if (type != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* previous)
{
    // The keyboard belongs to the view while the frame is active.
    if (m_pViewActive && m_pViewActive->m_hWnd)
        ::SetFocus(m_pViewActive->m_hWnd);
    else
        Default();
}

void CFrameWnd::InitialUpdateFrame(CDocument* document, BOOL makeVisible)
{
    if (m_pViewActive)
        m_pViewActive->OnInitialUpdate();
    if (makeVisible) {
        ShowWindow(SW_SHOW);
        UpdateWindow();
    }
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

CFrameWnd* CWnd::GetParentFrame() const
{
    for (HWND hwnd = m_hWnd ? ::GetParent(m_hWnd) : nullptr; hwnd; hwnd = ::GetParent(hwnd)) {
        if (auto* frame = dynamic_cast<CFrameWnd*>(FromHandlePermanent(hwnd)))
            return frame;
    }
    return nullptr;
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}

void CFrameWnd::OnClose()
{
    DestroyWindow();
}

void CFrameWnd::OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu)
{
    if (sysMenu || !popup)
        return;
    CCmdUI state;
    state.m_pMenu = popup;
    // An update handler may change the popup, so its size is read again for every item.
    for (state.m_nIndex = 0; static_cast<int>(state.m_nIndex) < popup->GetMenuItemCount(); ++state.m_nIndex) {
        state.m_nID = popup->GetMenuItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1))
            continue; // separators and submenus have no command
        state.DoUpdate(this);
    }
}
