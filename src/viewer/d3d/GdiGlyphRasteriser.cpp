#include "viewer/d3d/GdiGlyphRasteriser.h"

GdiGlyphRasteriser::~GdiGlyphRasteriser()
{
    if (m_dc) {
        if (m_oldBitmap)
            SelectObject(m_dc, m_oldBitmap);
        if (m_oldFont)
            SelectObject(m_dc, m_oldFont);
        DeleteDC(m_dc);
    }
    if (m_bitmap)
        DeleteObject(m_bitmap);
    if (m_font)
        DeleteObject(m_font);
}

bool GdiGlyphRasteriser::Create(const wchar_t* face, int points, bool bold, bool italic)
{
    m_dc = CreateCompatibleDC(nullptr);
    if (!m_dc)
        return false;
    SetMapMode(m_dc, MM_TEXT);
    const int height = -MulDiv(points, GetDeviceCaps(m_dc, LOGPIXELSY), 72);
    m_font = CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic ? TRUE : FALSE, FALSE, FALSE,
                         EASTEUROPE_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                         VARIABLE_PITCH, face);
    if (!m_font)
        return false;
    m_oldFont = SelectObject(m_dc, m_font);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = OnScreenDisplay::GlyphAtlas::kSize;
    info.bmiHeader.biHeight = -OnScreenDisplay::GlyphAtlas::kSize; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!m_bitmap)
        return false;
    m_bits = static_cast<uint32_t*>(bits);
    m_oldBitmap = SelectObject(m_dc, m_bitmap);
    SetTextColor(m_dc, RGB(255, 255, 255));
    SetBkColor(m_dc, RGB(0, 0, 0));
    SetTextAlign(m_dc, TA_LEFT | TA_TOP);
    return true;
}

bool GdiGlyphRasteriser::Measure(const char16_t* text, int length, int* cx, int* cy)
{
    SIZE size{};
    if (!m_dc || !GetTextExtentPoint32W(m_dc, reinterpret_cast<const wchar_t*>(text), length, &size))
        return false;
    *cx = size.cx;
    *cy = size.cy;
    return true;
}

void GdiGlyphRasteriser::DrawGlyph(char16_t c, int x, int y)
{
    if (!m_dc)
        return;
    GdiFlush();
    ExtTextOutW(m_dc, x, y, ETO_OPAQUE, nullptr, reinterpret_cast<const wchar_t*>(&c), 1, nullptr);
    GdiFlush(); // the atlas reads the bits right after
}

bool GdiGlyphRasteriser::Placement(const std::u16string& text, std::u16string* output, std::vector<int>* advances)
{
    if (!m_dc || text.empty())
        return false;
    // The platform writes no terminator and may return fewer glyphs than code units: size both
    // arrays for the whole text, zero the advances, and keep only what it says it wrote.
    std::vector<wchar_t> out(text.size() + 1, 0);
    advances->assign(text.size(), 0);
    GCP_RESULTSW results{};
    results.lStructSize = sizeof(results);
    results.lpOutString = out.data();
    results.lpDx = advances->data();
    results.nGlyphs = static_cast<UINT>(text.size());
    if (GetCharacterPlacementW(m_dc, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()), 0,
                               &results, 0) == 0)
        return false;
    const size_t glyphs = results.nGlyphs < text.size() ? results.nGlyphs : text.size();
    output->assign(reinterpret_cast<const char16_t*>(out.data()), glyphs);
    advances->resize(glyphs);
    return glyphs > 0;
}
