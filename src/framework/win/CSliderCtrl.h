// A trackbar of a dialog.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/win/CWnd.h"

class CSliderCtrl : public CWnd {
public:
    void SetRange(int low, int high, BOOL redraw = FALSE)
    {
        SendMessage(TBM_SETRANGEMIN, FALSE, low);
        SendMessage(TBM_SETRANGEMAX, redraw, high);
    }
    int GetPos() const { return static_cast<int>(::SendMessageW(m_hWnd, TBM_GETPOS, 0, 0)); }
    void SetPos(int position) { SendMessage(TBM_SETPOS, TRUE, position); }
};
