// A menu handle with the operations the programs build their popups with.
#pragma once

#include <windows.h>

class CWnd;

class CMenu {
public:
    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    // An attached menu is destroyed with its object.
    ~CMenu();

    HMENU m_hMenu = nullptr;

    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }

    // A temporary wrapper of a menu handle, living until the message loop is next idle.
    static CMenu* FromHandle(HMENU menu);
    static void DeleteTempMap();

    BOOL Attach(HMENU menu);
    HMENU Detach();
    BOOL DestroyMenu();

    // From the resource module of the application.
    BOOL LoadMenu(UINT id);
    BOOL CreatePopupMenu();

    CMenu* GetSubMenu(int position) const;
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
    UINT GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(m_hMenu, item, flags); }

    // flags as the platform takes them (MF_BYPOSITION, MF_STRING, MF_POPUP, MF_SEPARATOR ...);
    // with MF_POPUP, idOrPopup is the submenu handle.
    BOOL RemoveMenu(UINT item, UINT flags) { return ::RemoveMenu(m_hMenu, item, flags); }
    BOOL DeleteMenu(UINT item, UINT flags) { return ::DeleteMenu(m_hMenu, item, flags); }
    BOOL InsertMenu(UINT item, UINT flags, UINT_PTR idOrPopup = 0, LPCWSTR text = nullptr)
    {
        return ::InsertMenuW(m_hMenu, item, flags, idOrPopup, text);
    }
    BOOL AppendMenu(UINT flags, UINT_PTR idOrPopup = 0, LPCWSTR text = nullptr)
    {
        return ::AppendMenuW(m_hMenu, flags, idOrPopup, text);
    }
    // The previous state (MF_CHECKED or MF_UNCHECKED), or (UINT)-1 when the item does not exist.
    UINT CheckMenuItem(UINT item, UINT check) { return static_cast<UINT>(::CheckMenuItem(m_hMenu, item, check)); }
    UINT EnableMenuItem(UINT item, UINT enable) { return static_cast<UINT>(::EnableMenuItem(m_hMenu, item, enable)); }

    // With TPM_RETURNCMD the chosen id (0 for none), else whether the menu was shown.
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT ignored = nullptr) const;

private:
    bool m_temporary = false;

    template <class T, class H>
    friend class CTempHandleMap;
};
