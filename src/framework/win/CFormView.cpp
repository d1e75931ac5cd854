#include "framework/win/CFormView.h"

#include <algorithm>

#include "framework/win/CCreateContext.h"
#include "framework/win/CDialog.h"
#include "framework/win/CDialogTemplateWindow.h"

BOOL CFormView::Create(CWnd* parent, UINT id, CCreateContext* context)
{
    m_pDocument = context ? context->m_pCurrentDoc : nullptr;
    HWND hwnd = CDialogTemplateWindow::Create(this, m_templateId, parent ? parent->m_hWnd : nullptr);
    if (!hwnd)
        return FALSE;
    ::SetWindowLongPtrW(hwnd, GWLP_ID, static_cast<LONG_PTR>(id));
    RECT rect;
    ::GetClientRect(hwnd, &rect);
    m_formSize = CSize(rect.right - rect.left, rect.bottom - rect.top);
    ShowWindow(SW_SHOW);
    return TRUE;
}

void CFormView::OnInitialUpdate()
{
    UpdateData(FALSE);
    CView::OnInitialUpdate();
}

BOOL CFormView::PreTranslateMessage(MSG* msg)
{
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && !AfxIsDialogEndKey(msg))
        return ::IsDialogMessageW(m_hWnd, msg);
    return FALSE;
}

void CFormView::ResizeParentToFit(BOOL shrinkOnly)
{
    HWND frame = ::GetParent(m_hWnd);
    if (!frame)
        return;
    RECT wanted = { 0, 0, m_formSize.cx, m_formSize.cy };
    DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(frame, GWL_STYLE));
    DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(frame, GWL_EXSTYLE));
    ::AdjustWindowRectEx(&wanted, style, ::GetMenu(frame) != nullptr, exStyle);
    int width = wanted.right - wanted.left;
    int height = wanted.bottom - wanted.top;
    if (shrinkOnly) {
        RECT current;
        ::GetWindowRect(frame, &current);
        width = std::min(width, static_cast<int>(current.right - current.left));
        height = std::min(height, static_cast<int>(current.bottom - current.top));
    }
    ::SetWindowPos(frame, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
