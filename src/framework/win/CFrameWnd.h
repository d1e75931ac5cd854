// A top-level frame: made from one resource id (title string, icon, menu, accelerator
// table), it translates its accelerators, routes commands to itself and then to the
// application, and answers the state queries of its popups' items.
#pragma once

#include <windows.h>

#include "framework/win/CWnd.h"

class CMenu;

// Accepted in LoadFrame's style for the callers' sake: a frame without documents has
// nothing to add to its title.
#define FWS_ADDTOTITLE 0x00008000L

class CFrameWnd : public CWnd {
public:
    CFrameWnd() = default;

    // The frame object is handed over: when no window results it has been deleted.
    virtual BOOL LoadFrame(UINT id, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, CWnd* parent = nullptr,
                           void* context = nullptr);

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCmdMsg(UINT id, int code, void* extra) override;

    HACCEL m_hAccelTable = nullptr;

protected:
    // Frames live on the heap and go with their window.
    void PostNcDestroy() override;

    void OnClose();
    void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);

    DECLARE_MESSAGE_MAP()

private:
    UINT m_resourceId = 0;
};

#define ON_WM_INITMENUPOPUP() \
    TOLVIK_MESSAGE_ENTRY(WM_INITMENUPOPUP, self->OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), \
        LOWORD(lParam), HIWORD(lParam)))
