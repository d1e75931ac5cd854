// The teletext canvas drawn with GDI: Courier New at 30 points of the screen's resolution (its
// width of "M" sets the cell width) and the same face twice as high for double height, a 32-bit
// bottom-up DIB section 41 x 24 cells selected into a memory device context, and a solid brush and
// two pens for each of the eight teletext colours.
#pragma once

#include <windows.h>

#include "base/Result.h"
#include "dvb/libDVB/teletext/CTeletextCanvas.h"

namespace libDVB {

class CTeletextGdiCanvas : public CTeletextCanvas {
public:
    CTeletextGdiCanvas();
    ~CTeletextGdiCanvas() override;
    CTeletextGdiCanvas(const CTeletextGdiCanvas&) = delete;
    CTeletextGdiCanvas& operator=(const CTeletextGdiCanvas&) = delete;

    // False when GDI refused the device context, the fonts or the bitmap (nothing is then drawn).
    bool IsReady() const { return m_pixels != nullptr; }
    int CellWidth() const override { return m_cellWidth; }
    int CellHeight() const override { return m_cellHeight; }
    void* Handle() override { return m_bitmap; }
    // The bitmap's pixels, 0xAARRGGBB with the bottom row first, once GDI has finished drawing.
    const uint32_t* Pixels();

    void Clear() override;
    void FillRectangle(int left, int top, int right, int bottom, uint8_t colour) override;
    void DrawSixel(int left, int top, int right, int bottom, uint8_t foreground, uint8_t background,
                   bool separated) override;
    void DrawCharacter(int x, int y, char16_t character, uint8_t foreground, uint8_t background,
                       bool doubleHeight) override;
    void DrawTextLine(int x, int y, const std::u16string& text) override;
    void ApplyAlpha(const std::vector<uint8_t>& treated) override;

private:
    void Select(HGDIOBJ pen, HGDIOBJ brush);

    HDC m_dc = nullptr;
    HFONT m_font = nullptr;
    HFONT m_doubleFont = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previousBitmap = nullptr;
    HGDIOBJ m_previousFont = nullptr;
    HGDIOBJ m_previousPen = nullptr;
    HGDIOBJ m_previousBrush = nullptr;
    uint32_t* m_pixels = nullptr;
    int m_cellWidth = 0;
    int m_cellHeight = 0;
    HBRUSH m_brushes[8] = {};
    HPEN m_pens[8] = {};      // width 1, for fills and contiguous sixels
    HPEN m_widePens[8] = {};  // width 3, the gaps round separated sixels
};

} // namespace libDVB
