// The glyph atlas of an OSD font: characters rasterised white on black into a 512 x 512 bitmap,
// softened, and copied into alpha textures ("pages"), added on demand so that any UTF-16 code unit
// can be shown. The rasteriser (GDI on Windows) and the pages (Direct3D textures) come from outside.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace OnScreenDisplay {

class GlyphRasteriser {
public:
    virtual ~GlyphRasteriser() = default;
    // Extent of a text in the font; false when it cannot be measured.
    virtual bool Measure(const char16_t* text, int length, int* cx, int* cy) = 0;
    // Draws one code unit with its top-left corner at (x, y) into Bitmap().
    virtual void DrawGlyph(char16_t c, int x, int y) = 0;
    // The 512 x 512 top-down 32-bit bitmap glyphs are drawn into.
    virtual uint32_t* Bitmap() = 0;
    // Shaped layout of a text: the output code units and one advance per unit; false when the
    // platform cannot tell (letters are then placed by their own extents).
    virtual bool Placement(const std::u16string& text, std::u16string* output, std::vector<int>* advances) = 0;
};

class GlyphPages {
public:
    virtual ~GlyphPages() = default;
    // Appends an empty page; false when none can be made.
    virtual bool CreatePage() = 0;
    // Copies the atlas bitmap's coverage into the last page.
    virtual void UploadPage(const uint32_t* bitmap) = 0;
    virtual int PageCount() const = 0;
};

struct Glyph {
    float uLeft = 0, uRight = 0, vTop = 0, vBottom = 0;
    uint32_t page = 0;
    bool Missing() const { return uLeft == uRight; }
};

// The 3 x 3 filter that softens a rasterised cell: (28 centre + 5 edge neighbours + 4 diagonal
// ones) / 64 per byte, computed from the unfiltered pixels; the cell's border keeps its values.
void SoftenCell(uint32_t* bitmap, int width, int height, int left, int top, int right, int bottom);

class GlyphAtlas {
public:
    static constexpr int kSize = 512;

    GlyphAtlas(GlyphRasteriser& rasteriser, GlyphPages& pages);

    // Makes the first page and rasterises first..last - 1; false without a page.
    bool Initialize(char16_t first, uint32_t last);
    // Rasterises first..last - 1 into the atlas (a tab as a space); false when a measurement or a
    // new page fails (what was added before stays).
    bool AddGlyphs(char16_t first, uint32_t last);
    // Adds a missing glyph and uploads it; false when it cannot be had.
    bool EnsureGlyph(char16_t c);
    const Glyph& GetGlyph(char16_t c) const { return m_glyphs[c]; }
    bool HasPage() const { return m_pages.PageCount() > 0; }
    void Upload();

    GlyphRasteriser& Rasteriser() { return m_rasteriser; }
    int PenX() const { return m_penX; }
    int PenY() const { return m_penY; }
    int Gap() const { return m_gap; }

private:
    bool NewPage();

    GlyphRasteriser& m_rasteriser;
    GlyphPages& m_pages;
    std::vector<Glyph> m_glyphs; // one per UTF-16 code unit
    int m_penX = 0, m_penY = 0, m_gap = 0;
};

} // namespace OnScreenDisplay
