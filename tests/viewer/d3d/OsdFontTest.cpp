// OSD fonts on Wine's Direct3D and GDI: the atlas, letters added on first use, the A8R8G8B8
// fallback, text drawn where GDI draws it; and the string tables' language fallback.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "D3DTestWindow.h"
#include "viewer/LoadLocalizedString.h"
#include "viewer/osd/Display.h"
#include "viewer/d3d/COSDFont.h"
#include "viewer/d3d/COSDTextDrawer.h"
#include "viewer/d3d/FontList.h"

using namespace OnScreenDisplay;

namespace {

struct Ink {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool Empty() const { return right < 0; }
};

// Bounding box of the pixels brighter than a quarter (white text on black).
Ink InkOf(const uint32_t* pixels, int width, int height, int pitchPixels)
{
    Ink ink;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((pixels[static_cast<size_t>(y) * pitchPixels + x] & 0xFF) > 64) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
    return ink;
}

class TextControl : public Control {
public:
    TextControl(COSDTextDrawer& drawer, const COSDString& text, int align) : m_drawer(drawer), m_text(text), m_align(align) {}
    void Render(float) override
    {
        m_drawer.DrawString(m_text, m_rect.Width() / m_rect.Height(), 0xFFFFFFFF, m_align, -1.0f, 1.0f);
    }

private:
    COSDTextDrawer& m_drawer;
    const COSDString& m_text;
    int m_align;
};

class OsdFontTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(m_test.created, S_OK); }

    // Draws one frame of the tree and returns the back buffer.
    std::vector<uint32_t> DrawFrame(Display& root, int* width, int* height)
    {
        base::CScopedLock lock(m_test.handler.DeviceLock());
        IDirect3DDevice9* d = m_test.handler.GetDevice();
        d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        d->BeginScene();
        root.Render(1.0f);
        d->EndScene();
        std::vector<uint32_t> pixels;
        IDirect3DSurface9* back = nullptr;
        IDirect3DSurface9* copy = nullptr;
        D3DSURFACE_DESC desc;
        if (SUCCEEDED(d->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back)) && SUCCEEDED(back->GetDesc(&desc)) &&
            SUCCEEDED(d->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM, &copy,
                                                     nullptr)) &&
            SUCCEEDED(d->GetRenderTargetData(back, copy))) {
            D3DLOCKED_RECT locked;
            if (SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
                *width = static_cast<int>(desc.Width);
                *height = static_cast<int>(desc.Height);
                pixels.resize(static_cast<size_t>(desc.Width) * desc.Height);
                for (UINT y = 0; y < desc.Height; ++y)
                    memcpy(&pixels[y * desc.Width], static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch,
                           desc.Width * 4);
                copy->UnlockRect();
            }
        }
        if (copy)
            copy->Release();
        if (back)
            back->Release();
        return pixels;
    }

    D3DTestWindow m_test;
};

} // namespace

TEST_F(OsdFontTest, AtlasPagesAndLettersOnFirstUse)
{
    FontList fonts;
    ASSERT_TRUE(fonts.Add(L"normal", L"Tahoma", 26, false, false));
    ASSERT_TRUE(fonts.Add(L"bold", L"Tahoma", 26, true, false));
    ASSERT_TRUE(fonts.Add(L"big", L"Tahoma", 40, true, false));
    COSDFont* normal = fonts.Lookup(L"normal");
    ASSERT_NE(normal, nullptr);
    EXPECT_EQ(normal->PageFormat(), D3DFMT_A8);

    // 'A' is in the atlas with grey coverage at its edges, softened and anti-aliased.
    const Glyph& a = normal->Atlas().GetGlyph(u'A');
    ASSERT_FALSE(a.Missing());
    D3DLOCKED_RECT locked;
    ASSERT_EQ(normal->Page(0)->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), S_OK);
    int grey = 0, full = 0;
    for (int y = static_cast<int>(a.vTop * 512); y < static_cast<int>(a.vBottom * 512); ++y)
        for (int x = static_cast<int>(a.uLeft * 512); x < static_cast<int>(a.uRight * 512); ++x) {
            const BYTE v = static_cast<const BYTE*>(locked.pBits)[y * locked.Pitch + x];
            grey += v > 0 && v < 200;
            full += v >= 200;
        }
    const std::vector<BYTE> a8(static_cast<const BYTE*>(locked.pBits), static_cast<const BYTE*>(locked.pBits) + 512 * locked.Pitch);
    const int a8Pitch = locked.Pitch;
    normal->Page(0)->UnlockRect(0);
    EXPECT_GT(grey, 10);
    EXPECT_GT(full, 10);

    // Slovak and Cyrillic letters are rasterised when a text first needs them.
    EXPECT_TRUE(normal->Atlas().GetGlyph(u'\u017E').Missing());
    EXPECT_TRUE(normal->Atlas().GetGlyph(u'\u0416').Missing());
    COSDString text;
    text.Layout(normal->Atlas(), u"\u017Eiv\u00E9 \u0416");
    EXPECT_FALSE(normal->Atlas().GetGlyph(u'\u017E').Missing());
    EXPECT_FALSE(normal->Atlas().GetGlyph(u'\u0416').Missing());
    EXPECT_GT(text.GetWidth(), 0);

    // A device refusing A8 gets A8R8G8B8 pages that hold the same coverage in alpha.
    D3DGlyphPages::RefuseA8(true);
    COSDFont argb(m_test.handler.GetDevice(), L"Tahoma", 26, false, false);
    D3DGlyphPages::RefuseA8(false);
    ASSERT_TRUE(argb.IsUsable());
    EXPECT_EQ(argb.PageFormat(), D3DFMT_A8R8G8B8);
    ASSERT_EQ(argb.Page(0)->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), S_OK);
    int differing = 0;
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) {
            const uint32_t v = reinterpret_cast<const uint32_t*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch)[x];
            differing += (v >> 24) != a8[y * a8Pitch + x] || (v & 0xFFFFFF) != 0;
        }
    argb.Page(0)->UnlockRect(0);
    EXPECT_EQ(differing, 0);

    // A font without a device is not kept.
    CD3DHandler* handler = theD3DHandler;
    theD3DHandler = nullptr;
    EXPECT_FALSE(fonts.Add(L"broken", L"Tahoma", 26, false, false));
    theD3DHandler = handler;
    EXPECT_EQ(fonts.Lookup(L"broken"), nullptr);
}

TEST_F(OsdFontTest, TextLandsWhereGdiDrawsIt)
{
    COSDFont font(m_test.handler.GetDevice(), L"Tahoma", 26, false, false);
    ASSERT_TRUE(font.IsUsable());
    COSDString text;
    text.Layout(font.Atlas(), u"Tolvik 42");
    const int w = text.GetWidth(), h = text.GetHeight();
    ASSERT_GT(w, 0);

    // GDI's own drawing of the text in the same font.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 512;
    info.bmiHeader.biHeight = -128;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, font.Rasteriser().GetFont());
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, 0);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, nullptr, L"Tolvik 42", 9, nullptr);
    GdiFlush();
    const Ink gdi = InkOf(static_cast<const uint32_t*>(bits), 512, 128, 512);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ASSERT_FALSE(gdi.Empty());

    COSDTextDrawer drawer;
    ASSERT_EQ(drawer.Create(&font, m_test.handler.GetDevice()), S_OK);
    const int bbWidth = static_cast<int>(m_test.handler.GetPresentParameters().BackBufferWidth);
    const int bbHeight = static_cast<int>(m_test.handler.GetPresentParameters().BackBufferHeight);
    // Align codes in a box twice the text's width: 1 left, 2 centred, 3 right.
    const struct {
        int align;
        int shift;
    } cases[] = {{AlignLeft, 0}, {AlignCentre, w / 2}, {AlignRight, w}, {0, 0}};
    for (const auto& c : cases) {
        Display root;
        root.Create(m_test.handler.GetSurface());
        root.SetSize(bbWidth, bbHeight); // one OSD unit per back-buffer pixel
        auto* control = new TextControl(drawer, text, c.align);
        control->SetRect(100, 100, 100.0f + (c.align == 0 ? w : 2 * w), 100.0f + h);
        control->SetParent(&root);
        int width = 0, height = 0;
        const std::vector<uint32_t> frame = DrawFrame(root, &width, &height);
        ASSERT_FALSE(frame.empty());
        const Ink ours = InkOf(frame.data(), width, height, width);
        ASSERT_FALSE(ours.Empty()) << "align " << c.align;
        EXPECT_NEAR(ours.left, 100 + c.shift + gdi.left, 2) << "align " << c.align;
        EXPECT_NEAR(ours.right, 100 + c.shift + gdi.right, 2) << "align " << c.align;
        EXPECT_NEAR(ours.top, 100 + gdi.top, 2);
        EXPECT_NEAR(ours.bottom, 100 + gdi.bottom, 2);
    }
}

TEST(LocalizedStrings, FallBackToEnglish)
{
    SetUiLanguage(1051);
    EXPECT_EQ(LoadLocalizedString(134), L"Zoznam kan\u00E1lov");
    EXPECT_EQ(LoadLocalizedString(999), L"Only in English"); // the Slovak table lacks it
    EXPECT_EQ(LoadStringInLanguage(GetModuleHandleW(nullptr), 999, 1051), L"");
    EXPECT_EQ(LoadLocalizedString(998), L"");
    SetUiLanguage(1033);
    EXPECT_EQ(LoadLocalizedString(134), L"Channel list");
}
