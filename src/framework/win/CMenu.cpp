#include "framework/win/CMenu.h"

#include "framework/win/CWinApp.h"
#include "framework/win/CWnd.h"
#include "framework/win/HandleMaps.h"

template <>
void CTempHandleMap<CMenu, HMENU>::Releaser::Set(CMenu& object, HMENU handle)
{
    object.m_hMenu = handle;
    object.m_temporary = true;
}

template <>
void CTempHandleMap<CMenu, HMENU>::Releaser::operator()(CMenu* object) const
{
    object->m_hMenu = nullptr; // a wrapper does not own the menu
    delete object;
}

CMenu::~CMenu()
{
    if (!m_temporary)
        DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU menu)
{
    return menu ? CTempHandleMap<CMenu, HMENU>::Get(menu) : nullptr;
}

void CMenu::DeleteTempMap()
{
    CTempHandleMap<CMenu, HMENU>::Clear();
}

BOOL CMenu::Attach(HMENU menu)
{
    if (m_hMenu || !menu)
        return FALSE;
    m_hMenu = menu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU menu = m_hMenu;
    m_hMenu = nullptr;
    return menu;
}

BOOL CMenu::DestroyMenu()
{
    HMENU menu = Detach();
    return menu ? ::DestroyMenu(menu) : FALSE;
}

BOOL CMenu::LoadMenu(UINT id)
{
    return Attach(::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id)));
}

BOOL CMenu::CreatePopupMenu()
{
    return Attach(::CreatePopupMenu());
}

CMenu* CMenu::GetSubMenu(int position) const
{
    return FromHandle(::GetSubMenu(m_hMenu, position));
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT ignored) const
{
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner ? owner->m_hWnd : nullptr, ignored);
}
