// A view whose window is a child dialog made from a template: the form fills the frame, and
// the frame can be sized to fit it. Its template is a child dialog (WS_CHILD, no border).
#pragma once

#include <windows.h>

#include "framework/win/CSize.h"
#include "framework/win/CView.h"

class CFormView : public CView {
public:
    explicit CFormView(UINT templateId) : m_templateId(templateId) {}

    BOOL Create(CWnd* parent, UINT id, CCreateContext* context) override;
    // Binds the controls (DoDataExchange).
    void OnInitialUpdate() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // Sizes the parent frame so that its client area is the form's own size (as made from the
    // template); with shrinkOnly a frame is never made larger than it is.
    void ResizeParentToFit(BOOL shrinkOnly = TRUE);

    // The size of the form as its template made it, in pixels.
    CSize GetFormSize() const { return m_formSize; }

protected:
    UINT m_templateId;
    CSize m_formSize;
};
