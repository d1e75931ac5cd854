// A top-level frame: made from one resource id (title string, icon, menu, accelerator
// table), it translates its accelerators, routes commands to itself and then to the
// application, and answers the state queries of its popups' items.
#pragma once

#include <windows.h>

#include "framework/win/CWnd.h"

class CDocument;
class CMenu;
class CView;
struct CCreateContext;

// Accepted in LoadFrame's style for the callers' sake: a frame without documents has
// nothing to add to its title.
#define FWS_ADDTOTITLE 0x00008000L

class CFrameWnd : public CWnd {
public:
    CFrameWnd() = default;

    // The frame object is handed over: when no window results it has been deleted. With a
    // context (a CCreateContext) the frame makes the context's view while it is created.
    virtual BOOL LoadFrame(UINT id, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, CWnd* parent = nullptr,
                           void* context = nullptr);
    // Gives the view its initial update and shows the frame when makeVisible.
    void InitialUpdateFrame(CDocument* document, BOOL makeVisible);
    CView* GetActiveView() const { return m_pViewActive; }
    CDocument* GetActiveDocument() const;
    // Fits the view to the client area.
    virtual void RecalcLayout();

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCmdMsg(UINT id, int code, void* extra) override;

    HACCEL m_hAccelTable = nullptr;

protected:
    // Frames live on the heap and go with their window.
    void PostNcDestroy() override;

    int OnCreate(LPCREATESTRUCTW cs);
    virtual BOOL OnCreateClient(LPCREATESTRUCTW cs, CCreateContext* context);
    void OnSize(UINT type, int cx, int cy);
    void OnSetFocus(CWnd* previous);
    void OnClose();
    void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);

    DECLARE_MESSAGE_MAP()

private:
    UINT m_resourceId = 0;
    CView* m_pViewActive = nullptr;
};

#define ON_WM_SETFOCUS() \
    TOLVIK_MESSAGE_ENTRY(WM_SETFOCUS, self->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))))

#define ON_WM_INITMENUPOPUP() \
    TOLVIK_MESSAGE_ENTRY(WM_INITMENUPOPUP, self->OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), \
        LOWORD(lParam), HIWORD(lParam)))
