// The configurator program: common controls and OLE, the viewer's registry root, and one window
// made by the single-document template.
#pragma once

#include "framework/win/CWinApp.h"

class CplintorApp : public CWinApp {
public:
    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    bool m_oleInitialised = false;
};
