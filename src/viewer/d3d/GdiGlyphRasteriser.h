// Glyphs rasterised by GDI: a memory DC with the font and a 512 x 512 top-down 32-bit DIB section,
// text drawn white on black.
#pragma once

#include <windows.h>

#include "viewer/osd/GlyphAtlas.h"

class GdiGlyphRasteriser : public OnScreenDisplay::GlyphRasteriser {
public:
    GdiGlyphRasteriser() = default;
    ~GdiGlyphRasteriser() override;
    GdiGlyphRasteriser(const GdiGlyphRasteriser&) = delete;
    GdiGlyphRasteriser& operator=(const GdiGlyphRasteriser&) = delete;

    // Creates the DC, the font (height from the points at the screen's dpi) and the bitmap.
    bool Create(const wchar_t* face, int points, bool bold, bool italic);

    bool Measure(const char16_t* text, int length, int* cx, int* cy) override;
    void DrawGlyph(char16_t c, int x, int y) override;
    uint32_t* Bitmap() override { return m_bits; }
    bool Placement(const std::u16string& text, std::u16string* output, std::vector<int>* advances) override;

    HDC GetDC() const { return m_dc; }
    HFONT GetFont() const { return m_font; }

private:
    HDC m_dc = nullptr;
    HFONT m_font = nullptr;
    HGDIOBJ m_oldFont = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    uint32_t* m_bits = nullptr;
};
