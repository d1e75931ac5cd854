// Plain windows made with CreateEx, temporary wrappers of foreign handles, and a frame whose
// creation is refused.
#include <gtest/gtest.h>

#include "TestApp.h"
#include "TestResources.h"

namespace {

UINT g_msgWindowCreated = ::RegisterWindowMessageW(L"TolvikFrameworkWindowCreated");

// A hidden helper window in the manner of a tray window: it posts itself a registered
// message from WM_CREATE and notes its destruction.
class CHelperWindow : public CWnd {
public:
    int m_created = 0;
    int m_announced = 0;
    int m_destroyed = 0;
    int m_postNcDestroyed = 0;

protected:
    int OnCreate(LPCREATESTRUCTW cs)
    {
        if (CWnd::OnCreate(cs) == -1)
            return -1;
        ++m_created;
        PostMessage(g_msgWindowCreated);
        return 0;
    }
    LRESULT OnAnnounced(WPARAM, LPARAM)
    {
        ++m_announced;
        return 0;
    }
    void OnDestroy()
    {
        ++m_destroyed;
        CWnd::OnDestroy();
    }
    void PostNcDestroy() override { ++m_postNcDestroyed; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHelperWindow, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_REGISTERED_MESSAGE(g_msgWindowCreated, OnAnnounced)
END_MESSAGE_MAP()

bool g_refusedFrameDeleted = false;

class CRefusingFrame : public CFrameWnd {
public:
    ~CRefusingFrame() override { g_refusedFrameDeleted = true; }

protected:
    int OnCreate(LPCREATESTRUCTW) { return -1; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRefusingFrame, CFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(WindowTest, HelperWindowLifecycle)
{
    CHelperWindow window;
    LPCWSTR className = AfxRegisterWndClass(0);
    ASSERT_NE(nullptr, className);
    EXPECT_EQ(className, AfxRegisterWndClass(0)); // registered once
    ASSERT_TRUE(window.CreateEx(0, className, L"QORTrayWnd", 0, 0, 0, 0, 0, nullptr, nullptr));
    EXPECT_EQ(1, window.m_created);
    EXPECT_EQ(&window, CWnd::FromHandle(window.m_hWnd));
    EXPECT_EQ(&window, CWnd::FromHandlePermanent(window.GetSafeHwnd()));
    CString title;
    window.GetWindowText(title);
    EXPECT_EQ(CString(L"QORTrayWnd"), title);

    MSG msg;
    while (::PeekMessageW(&msg, window.m_hWnd, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&msg);
    EXPECT_EQ(1, window.m_announced);

    EXPECT_TRUE(window.ModifyStyleEx(0, WS_EX_TOOLWINDOW));
    EXPECT_FALSE(window.ModifyStyleEx(0, WS_EX_TOOLWINDOW)); // nothing to change
    EXPECT_NE(0u, window.GetExStyle() & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(window.ModifyStyleEx(WS_EX_TOOLWINDOW, 0));
    EXPECT_EQ(0u, window.GetExStyle() & WS_EX_TOOLWINDOW);

    HWND hwnd = window.m_hWnd;
    EXPECT_TRUE(window.DestroyWindow());
    EXPECT_EQ(1, window.m_destroyed);
    EXPECT_EQ(1, window.m_postNcDestroyed);
    EXPECT_EQ(nullptr, window.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hwnd));
    EXPECT_FALSE(window.DestroyWindow());
}

TEST(WindowTest, ForeignHandlesGetTemporaryWrappers)
{
    HWND desktop = ::GetDesktopWindow();
    CWnd* wrapper = CWnd::FromHandle(desktop);
    ASSERT_NE(nullptr, wrapper);
    EXPECT_EQ(desktop, wrapper->m_hWnd);
    EXPECT_EQ(wrapper, CWnd::FromHandle(desktop));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(desktop));
    EXPECT_EQ(nullptr, CWnd::FromHandle(nullptr));
    CWnd::DeleteTempMap(); // the wrapper goes, the desktop stays
    EXPECT_TRUE(::IsWindow(desktop));
}

TEST(WindowTest, RefusedFrameIsDeletedAndLoadFrameFails)
{
    CRefusingFrame* frame = new CRefusingFrame;
    EXPECT_FALSE(frame->LoadFrame(IDR_TEST_FRAME));
    EXPECT_TRUE(g_refusedFrameDeleted);
}

} // namespace
