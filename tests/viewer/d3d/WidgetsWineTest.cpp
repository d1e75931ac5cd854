// The OSD widgets drawn for real on Wine's Direct3D and read back from the back buffer: the
// signature skin paints each frame of image k in the flat colour (k, 40 f, 0xA5), so a pixel tells
// which image and frame a widget drew. Clicks come from SendInput into a real window.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "D3DTestWindow.h"
#include "support/TestMedia.h"
#include "viewer/osd/Button.h"
#include "viewer/osd/Clock.h"
#include "viewer/osd/Display.h"
#include "viewer/osd/Image.h"
#include "viewer/osd/Label.h"
#include "viewer/osd/Scale.h"
#include "viewer/osd/TileImage.h"
#include "viewer/osd/Video.h"
#include "viewer/d3d/COSDFont.h"
#include "viewer/d3d/COSDTexture.h"
#include "viewer/d3d/FontList.h"

using namespace OnScreenDisplay;

namespace {

// Places of the images in the skin's load order, which is their signature's red byte.
constexpr uint32_t kControlsBack = 0, kMenuButton = 32;

uint32_t Signature(uint32_t image, uint32_t frame) { return image << 16 | (40 * frame) << 8 | 0xA5; }

uint32_t g_tick = 0;
uint32_t TestTick() { return g_tick; }

bool Near(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(d) > tolerance)
            return false;
    }
    return true;
}

// A 32-bit top-down DIB section of w x h filled by colour(x, y) as 0xAARRGGBB.
template <typename Colour> HBITMAP MakeBitmap(int w, int h, Colour colour)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    for (int y = 0; y < h && bitmap; ++y)
        for (int x = 0; x < w; ++x)
            static_cast<uint32_t*>(bits)[y * w + x] = colour(x, y);
    return bitmap;
}

struct TextureRef {
    void operator()(COSDTexture* t) const { t->Release(); }
};
using Texture = std::unique_ptr<COSDTexture, TextureRef>;

Texture FromBitmap(HBITMAP bitmap, int w, int h)
{
    HRESULT hr = E_FAIL;
    auto* t = new COSDTexture(nullptr, &hr, 1);
    t->AddRef();
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(t->SetBitmap(bitmap, 0, 0, w, h), S_OK);
    DeleteObject(bitmap);
    return Texture(t);
}

class RecordingDisplay : public Display {
public:
    void OnCommand(int id) override { commands.push_back(id); }
    std::vector<int> commands;
};

// The video-stream table with one filled slot.
class OneSlotSource : public VideoSource {
public:
    void LockTable() override { ++tableLocks; }
    void UnlockTable() override { --tableLocks; }
    bool LockStream(int slot, SurfaceTexture** texture, OnScreenDisplay::FrameRect* rect) override
    {
        if (slot != filledSlot)
            return false;
        *texture = surface;
        *rect = *frame;
        return true;
    }
    void UnlockStream(int) override {}
    int filledSlot = -1;
    SurfaceTexture* surface = nullptr;
    const OnScreenDisplay::FrameRect* frame = nullptr;
    int tableLocks = 0;
};

class WidgetsWine : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(m_test.created, S_OK);
        const auto& pp = m_test.handler.GetPresentParameters();
        m_width = static_cast<int>(pp.BackBufferWidth);
        m_height = static_cast<int>(pp.BackBufferHeight);
        m_root.Create(m_test.handler.GetSurface());
        m_root.SetSize(m_width, m_height);
        SetScale(1.0f);
        SetTickSource(TestTick);
        g_tick = 100000;
    }
    void TearDown() override
    {
        m_root.DeleteChildren();
        SetTickSource(nullptr);
        SetScale(1.0f);
    }
    Texture SkinImage(const char* file, int frames)
    {
        const std::string path = test::MediaPath(std::string("skin_signature/") + file);
        const std::wstring wide(path.begin(), path.end());
        HRESULT hr = E_FAIL;
        auto* t = new COSDTexture(wide.c_str(), &hr, frames);
        t->AddRef();
        EXPECT_EQ(hr, S_OK) << file;
        return Texture(t);
    }
    void Draw()
    {
        base::CScopedLock lock(m_test.handler.DeviceLock());
        IDirect3DDevice9* device = m_test.handler.GetDevice();
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        device->BeginScene();
        m_root.Render(1.0f);
        device->EndScene();
        m_pixels = m_test.BackBuffer(&m_width, &m_height);
    }
    uint32_t At(int x, int y) const { return m_pixels.at(y * m_width + x); }

    D3DTestWindow m_test;
    RecordingDisplay m_root;
    int m_width = 0, m_height = 0;
    std::vector<uint32_t> m_pixels;
};

} // namespace

TEST_F(WidgetsWine, ImagesAndVideoDrawTheirTexturesInTheirRectangles)
{
    Texture controls = SkinImage("controls_back.png", 1);
    auto* image = new Image();
    image->SetRect(20, 30, 220, 130);
    image->SetParent(&m_root);
    image->SetTexture(controls.get());

    // A nine-cell frame cut at 20 of 62 pixels: red corners, a blue middle. At scale 1.5 the
    // corners keep 30 pixels whatever the frame's size.
    Texture tile = FromBitmap(MakeBitmap(62, 62, [](int x, int y) {
                                  const bool corner = (x < 20 || x >= 42) && (y < 20 || y >= 42);
                                  return corner ? 0xFFFF0000u : 0xFF0000FFu;
                              }),
                              62, 62);
    auto* frame = new TileImage();
    frame->SetRect(300, 30, 600, 330);
    frame->SetParent(&m_root);
    frame->SetTexture(tile.get());

    // Slot 3 of the table shows a green picture; a second control on an empty slot draws nothing.
    Texture picture = FromBitmap(MakeBitmap(64, 48, [](int, int) { return 0xFF00C000u; }), 64, 48);
    OneSlotSource source;
    source.filledSlot = 3;
    source.surface = picture->GetSurfaceTexture();
    source.frame = picture->GetFrameRect(0);
    m_root.SetVideoSource(&source);
    auto* video = new Video();
    video->SetRect(20, 200, 180, 320);
    video->m_slot = 3;
    video->SetParent(&m_root);
    auto* empty = new Video();
    empty->SetRect(200, 200, 280, 320);
    empty->m_slot = 4;
    empty->SetParent(&m_root);

    SetScale(1.5f);
    Draw();
    EXPECT_TRUE(Near(At(120, 80), Signature(kControlsBack, 0), 2)) << std::hex << At(120, 80);
    EXPECT_EQ(At(10, 80), 0u);
    EXPECT_EQ(At(230, 80), 0u);

    EXPECT_TRUE(Near(At(300 + 27, 30 + 27), 0xFF0000, 8)) << std::hex << At(327, 57);
    EXPECT_TRUE(Near(At(300 + 40, 30 + 40), 0x0000FF, 8)) << std::hex << At(340, 70);
    EXPECT_TRUE(Near(At(600 - 27, 330 - 27), 0xFF0000, 8)) << std::hex << At(573, 303);
    EXPECT_TRUE(Near(At(450, 180), 0x0000FF, 8));

    EXPECT_TRUE(Near(At(100, 260), 0x00C000, 4)) << std::hex << At(100, 260);
    EXPECT_EQ(At(240, 260), 0u);
    EXPECT_EQ(source.tableLocks, 0);
    m_root.SetVideoSource(nullptr);
}

TEST_F(WidgetsWine, AButtonShowsItsStateFramesAndMixesThemMidFade)
{
    Texture skin = SkinImage("menu/button.png", 5);
    auto* button = new Button();
    button->SetRect(100, 100, 331, 144);
    button->SetParent(&m_root);
    button->SetTexture(skin.get());
    // Normal, focused, pressed, disabled show frames 1, 3, 2 and 0 once their fade is over.
    const struct {
        int state, frame;
    } states[] = {{Button::Normal, 1}, {Button::Focused, 3}, {Button::Pressed, 2}, {Button::Disabled, 0}};
    for (const auto& s : states) {
        button->SetState(s.state);
        g_tick += 1000;
        Draw();
        // A steady focus pulses between frames 4 and 3: look at the pulse's peak, where 3 shows.
        if (s.state == Button::Focused) {
            g_tick += 1500;
            Draw();
        }
        EXPECT_TRUE(Near(At(215, 122), Signature(kMenuButton, s.frame), 3))
            << "state " << s.state << ": " << std::hex << At(215, 122);
    }

    // Disabled (frame 0) to normal (frame 1) fades over 200 ms: half way, half of each.
    button->SetState(Button::Normal);
    g_tick += 100;
    Draw();
    EXPECT_TRUE(Near(At(215, 122), Signature(kMenuButton, 0) + (20u << 8), 3)) << std::hex << At(215, 122);
}

TEST_F(WidgetsWine, TextLandsWhereItsAlignmentSays)
{
    FontList fonts;
    ASSERT_TRUE(fonts.Add(L"normal", L"Tahoma", 26, false, false));
    auto* label = new Label();
    label->SetRect(40, 200, 600, 240);
    label->SetParent(&m_root);
    label->SetFont(fonts.Lookup(L"normal"));
    label->SetText(u"IIIIIIII");
    // The ink's first and last column inside the label's band, for codes 1, 2 and 3.
    auto ink = [&](int* first, int* last) {
        *first = m_width;
        *last = -1;
        for (int y = 200; y < 240; ++y)
            for (int x = 0; x < m_width; ++x)
                if (((At(x, y) >> 8) & 0xFF) > 0x80) {
                    *first = std::min(*first, x);
                    *last = std::max(*last, x);
                }
    };
    int first[4], last[4];
    for (int code = AlignLeft; code <= AlignRight; ++code) {
        label->m_alignment = code;
        Draw();
        ink(&first[code], &last[code]);
        ASSERT_LT(first[code], last[code]) << "code " << code << " drew no text";
    }
    const int width = last[AlignLeft] - first[AlignLeft];
    EXPECT_NEAR(first[AlignLeft], 40, 4);
    EXPECT_NEAR((first[AlignCentre] + last[AlignCentre]) / 2, 320, 4);
    EXPECT_NEAR(last[AlignRight], 600, 4);
    EXPECT_NEAR(last[AlignCentre] - first[AlignCentre], width, 2);
    EXPECT_NEAR(last[AlignRight] - first[AlignRight], width, 2);
}

namespace {

RecordingDisplay* g_clickRoot = nullptr;

LRESULT CALLBACK ClickProc(HWND window, UINT message, WPARAM wp, LPARAM lp)
{
    const int x = static_cast<short>(LOWORD(lp)), y = static_cast<short>(HIWORD(lp));
    switch (message) {
    case WM_MOUSEMOVE: g_clickRoot->OnMouseMove(static_cast<uint32_t>(wp), x, y); return 0;
    case WM_LBUTTONDOWN: g_clickRoot->OnLButtonDown(static_cast<uint32_t>(wp), x, y); return 0;
    case WM_LBUTTONUP: g_clickRoot->OnLButtonUp(static_cast<uint32_t>(wp), x, y); return 0;
    default: return DefWindowProcW(window, message, wp, lp);
    }
}

void Click(HWND window, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(window, &p);
    SetCursorPos(p.x, p.y);
    INPUT inputs[3]{};
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    for (INPUT& in : inputs) {
        in.type = INPUT_MOUSE;
        in.mi.dx = (p.x * 65536 + w / 2) / w;
        in.mi.dy = (p.y * 65536 + h / 2) / h;
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(3, inputs, sizeof(INPUT));
}

} // namespace

TEST_F(WidgetsWine, ClicksFromTheInputQueueReachTheDisplayAsCommands)
{
    SetTickSource(nullptr);
    Texture skin = SkinImage("menu/button.png", 5);
    for (int i = 0; i < 2; ++i) {
        auto* button = new Button();
        button->SetRect(60 + 300.0f * i, 100, 291 + 300.0f * i, 144);
        button->SetId(11 + i);
        button->SetParent(&m_root);
        button->SetTexture(skin.get());
    }
    g_clickRoot = &m_root;
    SetWindowLongPtrW(m_test.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ClickProc));
    SetForegroundWindow(m_test.window);

    const POINT targets[] = {{30, 300}, {475, 122}, {175, 122}};
    for (const POINT& target : targets)
        Click(m_test.window, target.x, target.y);
    const DWORD deadline = GetTickCount() + 10000;
    while (m_root.commands.size() < 2 && GetTickCount() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    // The first click, beside both buttons, ran nothing.
    EXPECT_EQ(m_root.commands, (std::vector<int>{12, 11}));
    SetWindowLongPtrW(m_test.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW));
    g_clickRoot = nullptr;
}
