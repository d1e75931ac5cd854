#include "framework/win/CDataExchange.h"

#include "framework/win/CWnd.h"

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (!control.m_hWnd)
        control.SubclassDlgItem(static_cast<UINT>(id), dx->m_pDlgWnd);
}

BOOL CWnd::UpdateData(BOOL save)
{
    if (!m_hWnd)
        return FALSE;
    CDataExchange dx = { save, this };
    DoDataExchange(&dx);
    return TRUE;
}
