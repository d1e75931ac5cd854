// A child window that shows a document inside its frame; it lives on the heap and goes with
// its window.
#pragma once

#include <windows.h>

#include "framework/win/CWnd.h"

class CDocument;
struct CCreateContext;

// The control id of a frame's view.
#define AFX_IDW_PANE_FIRST 0xE900

class CView : public CWnd {
public:
    CDocument* GetDocument() const { return m_pDocument; }

    // Makes the view's window as child id of parent, for the context's document. When no
    // window results the view has been deleted (PostNcDestroy).
    virtual BOOL Create(CWnd* parent, UINT id, CCreateContext* context);
    // Called once the frame, the view and the document are all made, before the frame shows.
    virtual void OnInitialUpdate() { Invalidate(); }

protected:
    void PostNcDestroy() override { delete this; }

    CDocument* m_pDocument = nullptr;
};
