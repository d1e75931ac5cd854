#include "framework/win/CDialogTemplateWindow.h"

#include "framework/win/CWinApp.h"
#include "framework/win/CWnd.h"

namespace {

// The object whose dialog is being made on this thread and has not met its window yet.
thread_local CWnd* t_dialogBeingCreated = nullptr;

} // namespace

HWND CDialogTemplateWindow::Create(CWnd* wnd, UINT templateId, HWND parent)
{
    CWnd* outer = t_dialogBeingCreated;
    t_dialogBeingCreated = wnd;
    HWND hwnd = ::CreateDialogParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(templateId), parent, &DialogProc, 0);
    bool neverAttached = t_dialogBeingCreated == wnd;
    t_dialogBeingCreated = outer;
    if (neverAttached) {
        if (!hwnd)
            wnd->PostNcDestroy();
        else
            wnd->Subclass(hwnd); // no message reached the dialog procedure: take the window now
    }
    return hwnd;
}

INT_PTR CALLBACK CDialogTemplateWindow::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Once the object has the window, its messages reach this procedure only as the default
    // handling of the dialog manager, which must then do its own work.
    if (CWnd::FromHandlePermanent(hwnd) || !t_dialogBeingCreated)
        return FALSE;
    CWnd* wnd = t_dialogBeingCreated;
    t_dialogBeingCreated = nullptr;
    wnd->Subclass(hwnd);
    // This first message came before the object: it goes through the object now, whose
    // default handling re-enters this procedure and finds the window taken.
    LRESULT result = wnd->Dispatch(message, wParam, lParam);
    if (message == WM_INITDIALOG)
        return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}
