// A push button, check box or radio button of a dialog.
#pragma once

#include <windows.h>

#include "framework/win/CWnd.h"

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
};
