// A whole program on the framework's wWinMain: its frame closes itself at once, and the
// exit code tells whether the loop ended with the frame gone.
#include "framework/win/Afx.h"

#include "TestResources.h"

namespace {

bool g_frameDeleted = false;

class CSmokeFrame : public CFrameWnd {
public:
    ~CSmokeFrame() override { g_frameDeleted = true; }
};

class CSmokeApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        CSmokeFrame* frame = new CSmokeFrame;
        m_pMainWnd = frame;
        if (!frame->LoadFrame(IDR_TEST_FRAME))
            return FALSE;
        frame->PostMessage(WM_CLOSE);
        return TRUE;
    }

    int ExitInstance() override
    {
        // Only a loop that ran until the frame's WM_QUIT passes.
        bool quit = m_msgCur.message == WM_QUIT;
        int code = CWinApp::ExitInstance();
        return quit && code == 0 && g_frameDeleted && !AfxGetMainWnd() ? 0 : 1;
    }
};

CSmokeApp g_app;

} // namespace
