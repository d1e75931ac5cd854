// The state query of one command's user-interface item, handed to update handlers.
#pragma once

#include <windows.h>

class CCmdTarget;
class CMenu;

class CCmdUI {
public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;        // position of the item in m_pMenu
    CMenu* m_pMenu = nullptr; // the popup being opened

    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL on = TRUE);
    // 0 unchecked, 1 checked.
    virtual void SetCheck(int check = 1);

    // Asks target's update handler for m_nID. An id without a handler keeps the state the
    // item has: an item answered only through TPM_RETURNCMD must not come out grayed.
    BOOL DoUpdate(CCmdTarget* target);
};
