// Panels drawn on Wine's real Direct3D device with the signature skin (every image a flat colour of
// its own), read back from the back buffer: which image lies where, at rest and half-way through a
// transition, and the teletext and subtitle bitmaps of the real renderers' canvases.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "../d3d/D3DTestWindow.h"
#include "dvb/libDVB/subtitle/win/CSubtitleDibSection.h"
#include "dvb/libDVB/teletext/win/CTeletextGdiCanvas.h"
#include "support/TestMedia.h"
#include "viewer/osd/Clock.h"
#include "viewer/osd/Display.h"
#include "viewer/osd/Geometry.h"
#include "viewer/osd/Scale.h"
#include "viewer/d3d/COSDTexture.h"
#include "viewer/panels/CQORBackgroundpanel.h"
#include "viewer/panels/CQORControlsPanel.h"
#include "viewer/panels/CQORSubtitlePanel.h"
#include "viewer/panels/CQORTeletextPanel.h"

using namespace OnScreenDisplay;

namespace {

uint32_t g_now = 1000;
uint32_t Ticks()
{
    return g_now;
}

class PanelsWine : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(m_test.created, S_OK);
        SetTickSource(Ticks);
        SetEmptyTextureFactory(&COSDTexture::CreateEmpty);
        m_root.Create(m_test.handler.GetSurface());
        m_root.SetSize(640, 480);
    }
    void TearDown() override
    {
        m_root.DeleteChildren();
        SetEmptyTextureFactory(nullptr);
        SetTickSource(nullptr);
        for (COSDTexture* t : m_textures)
            t->Release();
    }

    // A signature-skin image; its own colour is the texel in the middle of its first frame.
    COSDTexture* Load(const char* file, uint32_t* rgb)
    {
        const std::string path = test::MediaPath(std::string("skin_signature/") + file);
        HRESULT hr = E_FAIL;
        auto* texture = new COSDTexture(std::wstring(path.begin(), path.end()).c_str(), &hr, 1);
        texture->AddRef();
        m_textures.push_back(texture);
        EXPECT_EQ(hr, S_OK) << file;
        D3DLOCKED_RECT locked;
        *rgb = 0xDEADBEEF;
        if (SUCCEEDED(hr) && SUCCEEDED(texture->GetTexture()->LockRect(0, &locked, nullptr, D3DLOCK_READONLY))) {
            const int x = 1 + texture->GetContentWidth() / 2, y = 1 + texture->GetFrameContentHeight() / 2;
            *rgb = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(locked.pBits) + y * locked.Pitch)[x] &
                   0xFFFFFF;
            texture->GetTexture()->UnlockRect(0);
        }
        return texture;
    }

    void DrawFrame()
    {
        base::CScopedLock lock(m_test.handler.DeviceLock());
        IDirect3DDevice9* d = m_test.handler.GetDevice();
        d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        ASSERT_EQ(d->BeginScene(), S_OK);
        m_root.Render(1.0f);
        d->EndScene();
    }
    // The pixel at root coordinates: the scene spans the whole back buffer, whatever its size.
    uint32_t Pixel(int x, int y) { return m_test.BackBufferPixel((x + 0.5f) / 640, (y + 0.5f) / 480); }
    void Show(Panel& panel)
    {
        panel.SetState(Panel::Shown);
        g_now += 10000;
        panel.GetProgress();
    }

    D3DTestWindow m_test;
    Display m_root;
    std::vector<COSDTexture*> m_textures;
};

// Each channel of a within a few steps of b scaled by k.
bool Near(uint32_t a, uint32_t b, float k, int tolerance = 4)
{
    for (int shift : {0, 8, 16}) {
        const int expected = static_cast<int>(((b >> shift) & 0xFF) * k + 0.5f);
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - expected) > tolerance)
            return false;
    }
    return true;
}

TEST_F(PanelsWine, ControlsPanelAtRestAndSlidingIn)
{
    uint32_t backColour = 0;
    auto* panel = new CQORControlsPanel;
    panel->m_background = new Image;
    panel->AddChild(panel->m_background);
    panel->m_background->SetTexture(Load("controls_back.png", &backColour));
    panel->SetRect(100, 300, 100 + 358, 300 + 93);
    panel->Layout();
    m_root.AddChild(panel);

    DrawFrame();
    EXPECT_EQ(Pixel(279, 346), 0u) << "nothing while hidden";
    Show(*panel);
    DrawFrame();
    EXPECT_EQ(Pixel(279, 346), backColour); // the image's middle at the panel's middle
    EXPECT_EQ(Pixel(50, 346), 0u);

    // Three quarters into the hide: f = 1 - E(0.75), moved (1 - f) panel widths to the left and
    // drawn at f of its opacity.
    panel->SetState(Panel::Hidden);
    g_now += 525;
    DrawFrame();
    const float f = 1 - Ease(0.75f);
    const int middle = 279 - static_cast<int>(358 * (1 - f) + 0.5f);
    EXPECT_TRUE(Near(Pixel(middle, 346), backColour, f)) << std::hex << Pixel(middle, 346);
    EXPECT_EQ(Pixel(279, 346), 0u);
}

TEST_F(PanelsWine, BackgroundPanelFadesLinearly)
{
    uint32_t backColour = 0, logoColour = 0;
    auto* panel = new CQORBackgroundpanel;
    panel->m_background = new Image;
    panel->m_makerLogo = new Image;
    panel->AddChild(panel->m_background);
    panel->AddChild(panel->m_makerLogo);
    panel->m_background->SetTexture(Load("logo_background.png", &backColour));
    panel->m_makerLogo->SetTexture(Load("logo_harvo.png", &logoColour));
    SetScale(0.25f); // a 128-pixel logo in the middle of the 640 x 480 panel
    panel->SetRect(0, 0, 640, 480);
    panel->Layout();
    SetScale(1.0f);
    m_root.AddChild(panel);
    Show(*panel);
    DrawFrame();
    EXPECT_EQ(Pixel(20, 20), backColour);
    EXPECT_EQ(Pixel(320, 240), logoColour);
    EXPECT_EQ(Pixel(320 - 70, 240), backColour);
    panel->SetState(Panel::Hidden);
    g_now += 150;
    DrawFrame();
    EXPECT_TRUE(Near(Pixel(20, 20), backColour, 0.5f)) << std::hex << Pixel(20, 20);
}

TEST_F(PanelsWine, TeletextPageFromTheGdiCanvas)
{
    libDVB::CTeletextGdiCanvas canvas;
    ASSERT_TRUE(canvas.IsReady());
    const int w = canvas.Width(), h = canvas.Height();
    canvas.Clear();
    canvas.FillRectangle(0, 0, w / 2, h, 1);       // red
    canvas.FillRectangle(w / 2, 0, w, h, 4);       // blue
    canvas.ApplyAlpha(std::vector<uint8_t>(h, 1)); // colours opaque, as the renderer leaves a page

    uint32_t headerColour = 0;
    auto* panel = new CQORTeletextPanel;
    panel->m_page = new ActiveCustomDrawControl;
    panel->m_header = new Image;
    panel->AddChild(panel->m_header);
    panel->AddChild(panel->m_page);
    panel->m_header->SetTexture(Load("infobar.png", &headerColour));
    auto* page = static_cast<COSDTexture*>(panel->m_page->GetTexture());
    ASSERT_NE(page, nullptr);
    m_root.AddChild(panel);
    panel->SetRect(0, 0, 640, 480);
    panel->Layout();
    Show(*panel);
    DrawFrame();
    EXPECT_EQ(Pixel(320, 200), 0u) << "no page before its first bitmap";
    EXPECT_EQ(Pixel(320, 16), headerColour);

    ASSERT_EQ(page->SetBitmap(static_cast<HBITMAP>(canvas.Handle()), 0, 0, w, h), S_OK);
    panel->m_pageAspect = static_cast<float>(w) / h;
    panel->Layout();
    const RectF p = panel->m_page->GetRect();
    DrawFrame();
    const int midY = static_cast<int>((p.top + p.bottom) / 2);
    EXPECT_EQ(Pixel(static_cast<int>(p.left + p.Width() / 4), midY), 0xFF0000u);
    EXPECT_EQ(Pixel(static_cast<int>(p.left + 3 * p.Width() / 4), midY), 0x0000FFu);
    // The header bar spans the page, not the panel.
    ASSERT_GE(p.left, 4);
    EXPECT_EQ(Pixel(static_cast<int>(p.left + 0.1f * p.Width()), 16), headerColour);
    EXPECT_EQ(Pixel(static_cast<int>(p.left) - 3, 16), 0u);
}

TEST_F(PanelsWine, SubtitleOverlayFromTheDibSection)
{
    libDVB::CSubtitleDibSection dib;
    uint32_t* pixels = dib.Pixels();
    ASSERT_NE(pixels, nullptr);
    const int w = libDVB::CSubtitleSurface::kWidth, h = libDVB::CSubtitleSurface::kHeight;
    // Bottom-up rows: the lines 480..540 of the picture are stored from the end.
    for (int y = 480; y < 540; ++y)
        for (int x = 100; x < 620; ++x)
            pixels[(h - 1 - y) * w + x] = 0xFF00FF00u;

    auto* panel = new CQORSubtitlePanel;
    panel->m_overlay = new CustomDrawControl;
    panel->AddChild(panel->m_overlay);
    panel->m_aspect = 4.0f / 3.0f; // the picture's
    m_root.AddChild(panel);
    panel->SetRect(0, 0, 640, 480);
    panel->Layout();
    Show(*panel);
    auto* overlay = static_cast<COSDTexture*>(panel->m_overlay->GetTexture());
    ASSERT_NE(overlay, nullptr);
    ASSERT_EQ(overlay->SetBitmap(static_cast<HBITMAP>(dib.Handle()), 0, 0, w, h), S_OK);
    DrawFrame();
    // 576 lines onto 480: line 510 of the bitmap lands at 425.
    EXPECT_EQ(Pixel(320, 425), 0x00FF00u);
    EXPECT_EQ(Pixel(320, 200), 0u);
    EXPECT_EQ(Pixel(40, 425), 0u);
}

} // namespace
