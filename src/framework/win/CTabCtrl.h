// A tab control of a dialog.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/win/CWnd.h"

class CTabCtrl : public CWnd {
public:
    // larger FALSE: the display area inside the window rectangle rect; TRUE: the reverse.
    void AdjustRect(BOOL larger, LPRECT rect) { SendMessage(TCM_ADJUSTRECT, larger, reinterpret_cast<LPARAM>(rect)); }
};
