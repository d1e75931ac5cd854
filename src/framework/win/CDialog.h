// A dialog made from a template of the resources, as a modeless window (the option pages are
// child dialogs of a form; Enter and Escape close nothing: they are swallowed) or as a modal one
// (DoModal: Enter is OK, Escape and the close box Cancel).
#pragma once

#include <windows.h>

#include "framework/win/CDataExchange.h"
#include "framework/win/CWnd.h"

class CDialog : public CWnd {
public:
    CDialog() = default;
    explicit CDialog(UINT templateId) : m_templateId(templateId) {}

    // Makes the dialog of template id (or of the constructor's) as a window of parent;
    // OnInitDialog has run when it returns TRUE.
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    // Binds the controls (DoDataExchange); TRUE lets the platform focus the first control.
    virtual BOOL OnInitDialog();

    // Shows the dialog owned by the top-level window of parent (without parent: the active
    // window), which stays disabled until EndDialog. Returns EndDialog's result, or -1 when the
    // dialog could not be made. A WM_QUIT met meanwhile ends the dialog with IDCANCEL and is
    // posted again for the caller's loop.
    virtual INT_PTR DoModal(CWnd* parent = nullptr);
    // Ends a modal dialog with result once control returns to its loop.
    void EndDialog(INT_PTR result);

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    // Enter and Escape reach a dialog as IDOK and IDCANCEL: a modeless page has no use for them;
    // a modal dialog takes its fields (OK) and ends.
    virtual void OnOK();
    virtual void OnCancel();

    LRESULT OnInitDialogMessage(WPARAM, LPARAM) { return OnInitDialog(); }

    DECLARE_MESSAGE_MAP()

    UINT m_templateId = 0;
    bool m_modal = false;
    bool m_ending = false;
    INT_PTR m_result = -1;
};

// Whether msg is a key press of Enter or Escape: the keys that would end a dialog.
bool AfxIsDialogEndKey(const MSG* msg);
