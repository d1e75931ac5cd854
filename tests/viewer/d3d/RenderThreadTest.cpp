// The Direct3D device and the render thread on Wine's real device under Xvfb, read back with
// GetRenderTargetData.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>

#include "viewer/d3d/CD3DHandler.h"
#include "D3DTestWindow.h"
#include "viewer/d3d/CRenderThread.h"
#include "support/HostProgram.h"
#include "support/TestMedia.h"
#include "viewer/osd/Clock.h"
#include "viewer/osd/Display.h"
#include "viewer/osd/Panel.h"

using namespace OnScreenDisplay;

namespace {

// An untextured quad of one ARGB colour over its whole square.
class FlatQuad : public Control {
public:
    explicit FlatQuad(uint32_t argb) : m_argb(argb) {}
    void Render(float alpha) override
    {
        DrawingSurface* s = GetDisplay()->GetSurface();
        if (!s)
            return;
        // Colour and alpha from the vertex: without a texture the default stages give opaque white.
        s->SetTexture(0, nullptr);
        s->SetStageState(0, StageState::ColourOp, D3DTOP_SELECTARG1);
        s->SetStageState(0, StageState::ColourArg1, D3DTA_DIFFUSE);
        s->SetStageState(0, StageState::AlphaOp, D3DTOP_SELECTARG1);
        s->SetStageState(0, StageState::AlphaArg1, D3DTA_DIFFUSE);
        const Vertex v[6] = {{-1, 1, 0, m_argb, 0, 0}, {1, 1, 0, m_argb, 0, 0}, {-1, -1, 0, m_argb, 0, 0},
                             {1, 1, 0, m_argb, 0, 0},  {1, -1, 0, m_argb, 0, 0}, {-1, -1, 0, m_argb, 0, 0}};
        s->DrawTriangles(v, 2);
    }

private:
    uint32_t m_argb;
};

class LosingRenderThread : public CRenderThread {
public:
    using CRenderThread::CRenderThread;
    std::atomic<int> presents{0};

protected:
    HRESULT PresentFrame(IDirect3DDevice9*) override
    {
        ++presents;
        return D3DERR_DEVICELOST;
    }
};

int g_deviceLostMessages = 0;

// Pumps the window's messages (counting device-loss reports) until the condition holds.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 20000)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_RENDER_DEVICE_LOST)
                ++g_deviceLostMessages;
            else
                DispatchMessageW(&msg);
        }
        if (condition())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(5);
    }
}

class RenderThreadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(m_test.window, nullptr);
        ASSERT_EQ(m_test.created, S_OK);
        m_root.Create(m_handler.GetSurface());
        m_handler.SetClientSize(640, 480); // as the main frame does on every resize
        m_root.SetSize(640, 480);
    }

    // The window's client area as the X server shows it (rgb24), grabbed by ffmpeg; empty when no
    // grab arrived in time. Grabs taken just after start can come back black, and a window of a test
    // program running beside this one can lie over ours for a while. Once it has gone, the uncovered
    // part shows the X window's background until the picture is presented again, which the thread
    // does only when asked (the main frame asks on WM_PAINT; this window's procedure does not): raise
    // ours, have the picture presented again and grab, until the red quarter shows (the other pixels
    // are checked by the caller).
    std::vector<uint8_t> GrabClient(CRenderThread& thread)
    {
        POINT origin{0, 0};
        ClientToScreen(m_window, &origin);
        const char* display = getenv("DISPLAY");
        const char* media = getenv("TOLVIK_MEDIA");
        if (!display || !media)
            return {};
        const std::string unixPath = std::string(media) + "/render_thread_grab.rgb";
        const std::string path = test::MediaPath("render_thread_grab.rgb");
        SetWindowPos(m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        std::vector<uint8_t> bytes;
        for (int attempt = 0; attempt < 10; ++attempt) {
            const unsigned presented = thread.FramesPresented();
            thread.RequestPresent();
            if (!WaitFor([&] { return thread.FramesPresented() > presented; }))
                return {};
            DeleteFileA(path.c_str());
            const std::string command = "/usr/bin/ffmpeg -v error -y -f x11grab -video_size 640x480 -i " +
                                        std::string(display) + "+" + std::to_string(origin.x) + "," +
                                        std::to_string(origin.y) + " -frames:v 1 -f rawvideo -pix_fmt rgb24 " + unixPath;
            if (!test::StartHostProgram(command))
                return {};
            bytes.clear();
            WaitFor([&] {
                WIN32_FILE_ATTRIBUTE_DATA data;
                if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) || data.nFileSizeLow < 640u * 480 * 3)
                    return false;
                bytes = test::ReadFileBytes(path);
                return bytes.size() == 640u * 480 * 3;
            }, 20000);
            if (bytes.size() == 640u * 480 * 3 && bytes[(120 * 640 + 160) * 3] == 0xFF &&
                bytes[(120 * 640 + 160) * 3 + 1] == 0 && bytes[(120 * 640 + 160) * 3 + 2] == 0)
                return bytes;
            WaitFor([&] { return false; }, 1000); // let the server catch up, pumping messages
        }
        return bytes;
    }
    std::vector<uint8_t> m_grab;

    D3DTestWindow m_test;
    HWND& m_window = m_test.window;
    CD3DHandler& m_handler = m_test.handler;
    Display m_root;
    base::CCriticalSection m_uiLock;
};

} // namespace

TEST_F(RenderThreadTest, DrawsTheTreeAndObeysItsCommands)
{
    auto* quarter = new FlatQuad(0xFFFF0000);
    quarter->SetRect(0, 0, 320, 240);
    quarter->SetParent(&m_root);
    auto* invisible = new FlatQuad(0x0000FF00); // alpha 0: the alpha test discards it
    invisible->SetRect(320, 240, 640, 480);
    invisible->SetParent(&m_root);
    auto* half = new FlatQuad(0x80FFFFFF);
    half->SetRect(320, 0, 640, 240);
    half->SetParent(&m_root);

    CRenderThread thread(m_handler, m_uiLock, m_root, m_window);
    ASSERT_TRUE(thread.Create());
    EXPECT_EQ(thread.Pause(), 0u);
    EXPECT_EQ(thread.FramesPresented(), 0u);
    EXPECT_EQ(thread.Run(), 0u);
    // An unchanged tree is drawn once; video frames draw it again.
    ASSERT_TRUE(WaitFor([&] {
        SetEvent(m_handler.GetRenderEvent());
        return thread.FramesPresented() >= 3;
    }));
    m_grab = GrabClient(thread);
    // A window laid over ours and taken away leaves its place to the X window's background; the
    // unchanged picture presented again, without drawing the tree, is still the picture.
    const unsigned drawn = thread.FramesDrawn();
    RECT frame;
    GetWindowRect(m_window, &frame);
    HWND cover = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE | SS_WHITERECT, frame.left,
                                 frame.top, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(cover, nullptr);
    UpdateWindow(cover);
    WaitFor([&] { return false; }, 300);
    DestroyWindow(cover);
    const std::vector<uint8_t> again = GrabClient(thread);
    EXPECT_EQ(thread.FramesDrawn(), drawn);
    ASSERT_EQ(again.size(), 640u * 480 * 3);
    EXPECT_EQ(again[(120 * 640 + 160) * 3], 0xFF); // red where red was, black where black was
    EXPECT_EQ(again[(360 * 640 + 480) * 3], 0);

    // Paused after the frame in progress: no frame until the next run, however often video wakes it.
    ASSERT_EQ(thread.Pause(), 0u);
    const unsigned paused = thread.FramesPresented();
    for (int i = 0; i < 10; ++i) {
        SetEvent(m_handler.GetRenderEvent());
        Sleep(10);
    }
    EXPECT_EQ(thread.FramesPresented(), paused);

    // What reaches the screen, grabbed by a peer (ffmpeg's X11 grabber) while the thread presents.
    const std::vector<uint8_t>& grab = m_grab;
    ASSERT_EQ(grab.size(), 640u * 480 * 3);
    auto screen = [&](int x, int y) {
        const uint8_t* p = &grab[(static_cast<size_t>(y) * 640 + x) * 3];
        return static_cast<uint32_t>(p[0]) << 16 | p[1] << 8 | p[2];
    };
    EXPECT_EQ(screen(160, 120), 0xFF0000u);
    EXPECT_EQ(screen(480, 360), 0x000000u);
    EXPECT_NEAR(static_cast<int>(screen(480, 120) & 0xFF), 0x80, 2);

    // The root's child {0, 0, W/2, H/2} lands pixel for pixel: the client area's part of the
    // screen-sized back buffer is drawn and presented unscaled. (Wine reads a back buffer presented
    // by its part back as black, so the picture is checked where it shows, above.)
    for (int shift : {0, 8, 16})
        EXPECT_NEAR(static_cast<int>((screen(480, 120) >> shift) & 0xFF), 0x80, 2) << std::hex << screen(480, 120);
    EXPECT_EQ(screen(319, 239), 0xFF0000u); // the last pixel of the quarter, not smeared by a scaling
    EXPECT_EQ(screen(0, 0), 0xFF0000u);

    // Without a device a run draws nothing and waits for the next command.
    m_handler.ReleaseDevice();
    EXPECT_EQ(thread.Run(), 0u);
    EXPECT_EQ(thread.Pause(), 0u);
    EXPECT_EQ(thread.FramesPresented(), paused);
    ASSERT_EQ(m_handler.Create(m_window, m_window), S_OK);
    m_root.Create(m_handler.GetSurface());
    EXPECT_EQ(thread.Run(), 0u);
    EXPECT_TRUE(WaitFor([&] {
        SetEvent(m_handler.GetRenderEvent());
        return thread.FramesPresented() >= paused + 2;
    }));

    thread.Exit();
    EXPECT_FALSE(thread.ThreadExists());
}

TEST_F(RenderThreadTest, ALostDeviceAsksForOneRecreation)
{
    LosingRenderThread thread(m_handler, m_uiLock, m_root, m_window);
    ASSERT_TRUE(thread.Create());
    g_deviceLostMessages = 0;
    EXPECT_EQ(thread.Run(), 0u);
    ASSERT_TRUE(WaitFor([&] {
        SetEvent(m_handler.GetRenderEvent());
        return thread.presents >= 20;
    }));
    thread.Pause();
    WaitFor([] { return true; }); // collect what was posted before the pause
    EXPECT_EQ(g_deviceLostMessages, 1);
    EXPECT_EQ(thread.FramesPresented(), 0u);
}

namespace {

std::atomic<uint32_t> g_tick{100000};
uint32_t TestTick()
{
    return g_tick.load();
}

// A panel that fills its square while shown or in transition.
class FlatPanel : public Panel {
public:
    FlatPanel() { m_quad->SetParent(this); }
    void Layout() override { m_quad->SetRect(0, 0, m_rect.Width(), m_rect.Height()); }
    void Render(float alpha) override
    {
        GetProgress();
        if (m_state != Hidden)
            DrawChild(m_quad, alpha);
    }

private:
    FlatQuad* m_quad = new FlatQuad(0xFF00FF00); // a child: the tree deletes it
};

} // namespace

// Frames counted, not timed: the loop draws at a refresh only for a new video frame, a change of the
// tree made under the user-interface lock or a running animation; an idle screen is not drawn again.
TEST_F(RenderThreadTest, DrawsOnlyWhatChangedAtMostOncePerRefresh)
{
    OnScreenDisplay::SetTickSource(&TestTick);
    auto* quad = new FlatQuad(0xFFFF0000);
    quad->SetRect(0, 0, 320, 240);
    quad->SetParent(&m_root);
    CRenderThread thread(m_handler, m_uiLock, m_root, m_window);
    ASSERT_TRUE(thread.Create());
    ASSERT_EQ(thread.Run(), 0u);
    ASSERT_TRUE(WaitFor([&] { return thread.FramesDrawn() >= 1; }));
    // Lets n refreshes pass; the frames drawn meanwhile.
    auto drawnOver = [&](unsigned n) {
        const unsigned drawn = thread.FramesDrawn(), refreshes = thread.Refreshes();
        EXPECT_TRUE(WaitFor([&] { return thread.Refreshes() >= refreshes + n; }));
        return thread.FramesDrawn() - drawn;
    };

    EXPECT_EQ(drawnOver(10), 0u) << "an idle screen";

    unsigned drawn = thread.FramesDrawn();
    SetEvent(m_handler.GetRenderEvent());
    EXPECT_TRUE(WaitFor([&] { return thread.FramesDrawn() > drawn; }));
    EXPECT_EQ(drawnOver(10), 0u) << "after the new video frame";
    EXPECT_EQ(thread.FramesDrawn(), drawn + 1) << "a new video frame";
    EXPECT_GE(thread.VideoFramesSeen(), 1u);

    drawn = thread.FramesDrawn();
    {
        base::CScopedLock ui(m_uiLock); // the user-interface thread changes the tree
        quad->SetRect(0, 0, 160, 120);
    }
    EXPECT_TRUE(WaitFor([&] { return thread.FramesDrawn() > drawn; }));
    EXPECT_EQ(drawnOver(10), 0u) << "after the change of the tree";
    EXPECT_EQ(thread.FramesDrawn(), drawn + 1) << "a change of the tree";

    // A panel sliding in is drawn at every refresh while its clock stands still, and no more often.
    auto* panel = new FlatPanel;
    {
        base::CScopedLock ui(m_uiLock);
        panel->SetRect(320, 240, 640, 480);
        panel->Layout();
        m_root.AddChild(panel);
        panel->SetState(Panel::Shown);
    }
    ASSERT_TRUE(WaitFor([&] { return thread.FramesDrawn() > drawn + 1; }));
    const unsigned refreshes = thread.Refreshes();
    const unsigned animated = drawnOver(10);
    EXPECT_GE(animated, 9u) << "an animation";
    EXPECT_LE(animated, thread.Refreshes() - refreshes + 1) << "more than one frame per refresh";

    // Its transition over (the clock moved past its 400 ms), it is drawn shown once and then rests.
    g_tick += 1000;
    EXPECT_TRUE(WaitFor([&] { return drawnOver(3) == 0; }));
    EXPECT_EQ(drawnOver(10), 0u) << "after the animation";

    // An uncovered window gets the picture presented again without drawing it.
    const unsigned presented = thread.FramesPresented();
    drawn = thread.FramesDrawn();
    thread.RequestPresent();
    EXPECT_TRUE(WaitFor([&] { return thread.FramesPresented() > presented; }));
    EXPECT_EQ(thread.FramesDrawn(), drawn);
    EXPECT_EQ(thread.FrameCount(0), thread.FramesPresented());
    EXPECT_EQ(thread.FrameCount(1), thread.FramesDrawn());

    thread.Exit();
    EXPECT_EQ(panel->GetState(), Panel::Shown);
    OnScreenDisplay::SetTickSource(nullptr);
}

TEST(D3DAdapterChoice, TheWindowsMonitorElseTheDefault)
{
    const HMONITOR a = reinterpret_cast<HMONITOR>(0x10), b = reinterpret_cast<HMONITOR>(0x20),
                   c = reinterpret_cast<HMONITOR>(0x30);
    EXPECT_EQ(CD3DHandler::ChooseAdapter(b, {a, b}), 1u);
    EXPECT_EQ(CD3DHandler::ChooseAdapter(a, {a, b}), 0u);
    EXPECT_EQ(CD3DHandler::ChooseAdapter(c, {a, b}), static_cast<UINT>(D3DADAPTER_DEFAULT));
    EXPECT_EQ(CD3DHandler::ChooseAdapter(c, {}), static_cast<UINT>(D3DADAPTER_DEFAULT));
}
