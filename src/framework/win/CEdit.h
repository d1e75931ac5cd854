// A text field of a dialog.
#pragma once

#include <windows.h>

#include "framework/win/CWnd.h"

class CEdit : public CWnd {
public:
    // The most characters the field accepts.
    void SetLimitText(UINT characters) { SendMessage(EM_LIMITTEXT, characters); }
};
