#include "dvb/libDVB/teletext/win/CTeletextGdiCanvas.h"

#include <cstring>

#include "dvb/libDVB/teletext/CTeletextLayout.h"
#include "dvb/libDVB/teletext/TeletextAlpha.h"

namespace libDVB {

namespace {

constexpr int kPointSize = 30;
constexpr BYTE kEastEuropeanCharset = 238;
constexpr BYTE kAntialiasedQuality = 4;
constexpr BYTE kPitchAndFamily = 2;

HFONT CreateCourier(int height, int width)
{
    return CreateFontW(height, width, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, kEastEuropeanCharset, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, kAntialiasedQuality, kPitchAndFamily, L"Courier New");
}

inline COLORREF Colour(uint8_t code) { return static_cast<COLORREF>(CTeletextLayout::kColours[code & 7]); }

} // namespace

CTeletextGdiCanvas::CTeletextGdiCanvas()
{
    HDC screen = GetDC(nullptr);
    if (!screen)
        return;
    m_dc = CreateCompatibleDC(screen);
    m_cellHeight = MulDiv(kPointSize, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    if (!m_dc || m_cellHeight <= 0)
        return;

    m_font = CreateCourier(m_cellHeight, 0);
    if (!m_font)
        return;
    m_previousFont = SelectObject(m_dc, m_font);
    SIZE size = {};
    if (!GetTextExtentPoint32W(m_dc, L"M", 1, &size) || size.cx <= 0)
        return;
    m_cellWidth = size.cx;
    m_doubleFont = CreateCourier(2 * m_cellHeight, m_cellWidth);
    if (!m_doubleFont)
        return;

    for (unsigned i = 0; i < 8; ++i) {
        m_brushes[i] = CreateSolidBrush(Colour(static_cast<uint8_t>(i)));
        m_pens[i] = CreatePen(PS_SOLID, 1, Colour(static_cast<uint8_t>(i)));
        m_widePens[i] = CreatePen(PS_SOLID, 3, Colour(static_cast<uint8_t>(i)));
        if (!m_brushes[i] || !m_pens[i] || !m_widePens[i])
            return;
    }

    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = Width();
    info.bmiHeader.biHeight = Height(); // positive: bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!m_bitmap || !bits)
        return;
    m_previousBitmap = SelectObject(m_dc, m_bitmap);
    m_previousPen = SelectObject(m_dc, m_pens[0]);
    m_previousBrush = SelectObject(m_dc, m_brushes[0]);
    SetBkMode(m_dc, OPAQUE);
    SetTextAlign(m_dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    m_pixels = static_cast<uint32_t*>(bits);
    Clear();
}

CTeletextGdiCanvas::~CTeletextGdiCanvas()
{
    if (m_dc) {
        if (m_previousBrush)
            SelectObject(m_dc, m_previousBrush);
        if (m_previousPen)
            SelectObject(m_dc, m_previousPen);
        if (m_previousBitmap)
            SelectObject(m_dc, m_previousBitmap);
        if (m_previousFont)
            SelectObject(m_dc, m_previousFont);
    }
    for (unsigned i = 0; i < 8; ++i) {
        if (m_brushes[i])
            DeleteObject(m_brushes[i]);
        if (m_pens[i])
            DeleteObject(m_pens[i]);
        if (m_widePens[i])
            DeleteObject(m_widePens[i]);
    }
    if (m_bitmap)
        DeleteObject(m_bitmap);
    if (m_doubleFont)
        DeleteObject(m_doubleFont);
    if (m_font)
        DeleteObject(m_font);
    if (m_dc)
        DeleteDC(m_dc);
}

const uint32_t* CTeletextGdiCanvas::Pixels()
{
    GdiFlush();
    return m_pixels;
}

void CTeletextGdiCanvas::Select(HGDIOBJ pen, HGDIOBJ brush)
{
    SelectObject(m_dc, pen);
    SelectObject(m_dc, brush);
}

void CTeletextGdiCanvas::Clear()
{
    if (!m_pixels)
        return;
    GdiFlush();
    std::memset(m_pixels, 0, sizeof(uint32_t) * static_cast<size_t>(Width()) * static_cast<size_t>(Height()));
}

void CTeletextGdiCanvas::FillRectangle(int left, int top, int right, int bottom, uint8_t colour)
{
    if (!m_pixels)
        return;
    Select(m_pens[colour & 7], m_brushes[colour & 7]);
    Rectangle(m_dc, left, top, right, bottom);
}

void CTeletextGdiCanvas::DrawSixel(int left, int top, int right, int bottom, uint8_t foreground,
                                   uint8_t background, bool separated)
{
    if (!m_pixels)
        return;
    Select(separated ? m_widePens[background & 7] : m_pens[foreground & 7], m_brushes[foreground & 7]);
    Rectangle(m_dc, left, top, right, bottom);
}

void CTeletextGdiCanvas::DrawCharacter(int x, int y, char16_t character, uint8_t foreground, uint8_t background,
                                       bool doubleHeight)
{
    if (!m_pixels)
        return;
    SelectObject(m_dc, doubleHeight ? m_doubleFont : m_font);
    SetTextColor(m_dc, Colour(foreground));
    SetBkColor(m_dc, Colour(background));
    // The opaque cell rectangle paints the background of exactly this cell, whatever the glyph's box.
    const RECT cell = {x, y, x + m_cellWidth, y + (doubleHeight ? 2 : 1) * m_cellHeight};
    const wchar_t text = static_cast<wchar_t>(character);
    ExtTextOutW(m_dc, x, y, ETO_OPAQUE | ETO_CLIPPED, &cell, &text, 1, nullptr);
}

void CTeletextGdiCanvas::DrawTextLine(int x, int y, const std::u16string& text)
{
    if (!m_pixels || text.empty())
        return;
    SelectObject(m_dc, m_font);
    SetTextColor(m_dc, Colour(7));
    SetBkColor(m_dc, Colour(0));
    TextOutW(m_dc, x, y, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()));
}

void CTeletextGdiCanvas::ApplyAlpha(const std::vector<uint8_t>& treated)
{
    if (!m_pixels)
        return;
    GdiFlush();
    ApplyTeletextAlpha(m_pixels, Width(), Height(), treated);
}

} // namespace libDVB
