#include "plintor/win/CBaseTuneDialog.h"

BOOL CBaseTuneDialog::CreateOver(CWnd* host, const RECT& area)
{
    if (!Create(m_templateId, host))
        return FALSE;
    MoveWindow(area);
    ShowWindow(SW_HIDE);
    return TRUE;
}
