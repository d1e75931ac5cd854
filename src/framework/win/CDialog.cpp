#include "framework/win/CDialog.h"

#include "framework/win/CDialogTemplateWindow.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, OnInitDialogMessage)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

bool AfxIsDialogEndKey(const MSG* msg)
{
    return (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP || msg->message == WM_CHAR) &&
           (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE);
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    if (m_hWnd)
        return FALSE;
    if (templateId)
        m_templateId = templateId;
    return CDialogTemplateWindow::Create(this, m_templateId, parent ? parent->m_hWnd : nullptr) != nullptr;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    if (AfxIsDialogEndKey(msg))
        return TRUE;
    // Tab and the arrow keys move between the controls as in any dialog.
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST)
        return ::IsDialogMessageW(m_hWnd, msg);
    return FALSE;
}
