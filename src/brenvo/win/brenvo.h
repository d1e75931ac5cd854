// The updater's application object.
#pragma once

#include "framework/win/CWinApp.h"

class CbrenvoApp : public CWinApp {
public:
    CbrenvoApp();
    // Refuses to run beside the viewer, then makes the form's window. FALSE ends the program.
    BOOL InitInstance() override;
};

// The mutex the viewer holds while it runs.
extern const char* const kViewerMutexName;
