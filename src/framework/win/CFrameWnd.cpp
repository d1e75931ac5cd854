#include "framework/win/CFrameWnd.h"

#include "framework/win/CCmdUI.h"
#include "framework/win/CMenu.h"
#include "framework/win/CWinApp.h"

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
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
                  parent ? parent->m_hWnd : nullptr, menu)) {
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
