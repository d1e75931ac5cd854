// What the teletext page renderer draws on: a 32-bit bitmap 41 cells wide and 24 cells high with
// the fonts that set the cell size. The renderer works out every position and colour; a canvas only
// carries the drawing out (with GDI on Windows) and owns the bitmap it hands on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace libDVB {

class CTeletextCanvas {
public:
    virtual ~CTeletextCanvas() = default;

    // Cell size in pixels; 0 when the canvas could not be created.
    virtual int CellWidth() const = 0;
    virtual int CellHeight() const = 0;
    int Width() const { return 41 * CellWidth(); }
    int Height() const { return 24 * CellHeight(); }
    // The bitmap handed to the owner (a GDI bitmap handle on Windows); it stays the canvas's.
    virtual void* Handle() = 0;

    // Colours are teletext colour codes 0..7; rectangles exclude their right and bottom edges.
    // The whole bitmap black and fully transparent.
    virtual void Clear() = 0;
    virtual void FillRectangle(int left, int top, int right, int bottom, uint8_t colour) = 0;
    // One sixel in the foreground colour; a separated sixel is framed three pixels wide in the
    // background colour.
    virtual void DrawSixel(int left, int top, int right, int bottom, uint8_t foreground, uint8_t background,
                           bool separated) = 0;
    // One character cell with its top-left corner at (x, y), background included; a double-height
    // cell is two cells high.
    virtual void DrawCharacter(int x, int y, char16_t character, uint8_t foreground, uint8_t background,
                               bool doubleHeight) = 0;
    // A line of text in the normal font, white on black, from (x, y).
    virtual void DrawTextLine(int x, int y, const std::u16string& text) = 0;
    // Gives the pixel rows flagged in `treated` (top row first, one per pixel row) their alpha: black
    // becomes translucent, colours opaque; every other row is made fully transparent.
    virtual void ApplyAlpha(const std::vector<uint8_t>& treated) = 0;
};

} // namespace libDVB
