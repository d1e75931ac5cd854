// A progress bar of a dialog.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/win/CWnd.h"

class CProgressCtrl : public CWnd {
public:
    void SetRange(short low, short high) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(low, high)); }
    int SetPos(int position) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(position))); }
    int GetPos() const { return static_cast<int>(::SendMessageW(m_hWnd, PBM_GETPOS, 0, 0)); }
};
