// The updater's frame: a fixed, minimisable window around the form, without a menu.
#pragma once

#include "framework/win/CFrameWnd.h"
#include "framework/win/CRuntimeClass.h"

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)

public:
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
};
