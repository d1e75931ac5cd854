// An up-down control of a dialog. Its UDN_DELTAPOS notification (NMUPDOWN) reaches the parent
// before the position changes; a nonzero answer keeps the position.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/win/CWnd.h"

class CSpinButtonCtrl : public CWnd {
public:
    void SetRange32(int low, int high) { SendMessage(UDM_SETRANGE32, low, high); }
    void GetRange32(int& low, int& high) const
    {
        ::SendMessageW(m_hWnd, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    }
    int GetPos32() const { return static_cast<int>(::SendMessageW(m_hWnd, UDM_GETPOS32, 0, 0)); }
    int SetPos32(int position) { return static_cast<int>(SendMessage(UDM_SETPOS32, 0, position)); }
    HWND SetBuddy(HWND buddy) { return reinterpret_cast<HWND>(SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy))); }
};
