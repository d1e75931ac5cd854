#include <cstdlib>

#include "framework/win/CSingleDocTemplate.h"
#include "framework/win/CWinApp.h"
#include "framework/win/CWnd.h"

namespace {

CWinApp* s_app = nullptr;

} // namespace

CWinApp::CWinApp(LPCWSTR name) : m_appName(name)
{
    // One application object per program: a second one is a build fault.
    if (s_app)
        std::abort();
    s_app = this;
}

CWinApp::~CWinApp()
{
    if (s_app == this)
        s_app = nullptr;
}

CWinApp* AfxGetApp()
{
    return s_app;
}

CWnd* AfxGetMainWnd()
{
    return s_app ? s_app->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    return s_app && s_app->m_hInstance ? s_app->m_hInstance : ::GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return AfxGetInstanceHandle();
}
