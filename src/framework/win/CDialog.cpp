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

INT_PTR CDialog::DoModal(CWnd* parent)
{
    if (m_hWnd)
        return -1;
    HWND owner = parent && parent->m_hWnd ? ::GetAncestor(parent->m_hWnd, GA_ROOT) : ::GetActiveWindow();
    const bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
    m_modal = true;
    m_ending = false;
    m_result = -1;
    if (!CDialogTemplateWindow::Create(this, m_templateId, owner)) {
        m_modal = false;
        return -1;
    }
    // Disabled only once the dialog exists, so a failure leaves the owner as it was.
    if (ownerWasEnabled)
        ::EnableWindow(owner, FALSE);
    ::ShowWindow(m_hWnd, SW_SHOW);
    MSG msg;
    while (!m_ending && m_hWnd) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            m_result = IDCANCEL;
            break;
        }
        if (got < 0)
            break;
        if (!::IsDialogMessageW(m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    // The owner is enabled before the dialog goes, so that the activation returns to it.
    if (ownerWasEnabled)
        ::EnableWindow(owner, TRUE);
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    m_modal = false;
    return m_result;
}

void CDialog::EndDialog(INT_PTR result)
{
    m_result = result;
    m_ending = true;
    // Wakes the loop when EndDialog came from outside a message of this thread.
    if (m_hWnd)
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
}

void CDialog::OnOK()
{
    if (m_modal && UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    if (m_modal)
        EndDialog(IDCANCEL);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    if (!m_modal && AfxIsDialogEndKey(msg))
        return TRUE;
    // Tab and the arrow keys move between the controls as in any dialog.
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST)
        return ::IsDialogMessageW(m_hWnd, msg);
    return FALSE;
}
