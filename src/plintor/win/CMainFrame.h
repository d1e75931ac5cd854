// The configurator's window: fixed size (no resizing, no maximising), no menu, no client edge.
#pragma once

#include "framework/win/CFrameWnd.h"

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
};
