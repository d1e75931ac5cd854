// The direction and the window of one UpdateData pass, and the exchange routines the
// programs' DoDataExchange call.
#pragma once

#include <windows.h>

class CWnd;

struct CDataExchange {
    BOOL m_bSaveAndValidate; // TRUE: from the controls to the members
    CWnd* m_pDlgWnd;
};

// Binds control id of the dialog to control: the control's messages then pass through its
// object. A control that is already bound stays as it is.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
