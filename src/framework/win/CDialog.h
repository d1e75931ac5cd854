// A dialog made from a template of the resources, as a modeless window (the option pages are
// child dialogs of a form). Enter and Escape close nothing: they are swallowed.
#pragma once

#include <windows.h>

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

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    // Enter and Escape reach a dialog as IDOK and IDCANCEL: a modeless page has no use for them.
    virtual void OnOK() {}
    virtual void OnCancel() {}

    LRESULT OnInitDialogMessage(WPARAM, LPARAM) { return OnInitDialog(); }

    DECLARE_MESSAGE_MAP()

    UINT m_templateId = 0;
};

// Whether msg is a key press of Enter or Escape: the keys that would end a dialog.
bool AfxIsDialogEndKey(const MSG* msg);
