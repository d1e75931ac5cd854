#include "viewer/osd/GlyphAtlas.h"

#include <cmath>
#include <cstring>

namespace OnScreenDisplay {

void SoftenCell(uint32_t* bitmap, int width, int height, int left, int top, int right, int bottom)
{
    if (left < 0)
        left = 0;
    if (top < 0)
        top = 0;
    if (right > width)
        right = width;
    if (bottom > height)
        bottom = height;
    if (right - left < 3 || bottom - top < 3)
        return; // no pixel lies off the border
    const int w = right - left, h = bottom - top;
    std::vector<uint32_t> out(static_cast<size_t>(w) * h);
    auto at = [&](int x, int y) { return bitmap[static_cast<size_t>(y) * width + x]; };
    for (int y = top + 1; y < bottom - 1; ++y) {
        for (int x = left + 1; x < right - 1; ++x) {
            uint32_t pixel = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                auto c = [&](int dx, int dy) { return (at(x + dx, y + dy) >> shift) & 0xFF; };
                const uint32_t v = (28 * c(0, 0) + 5 * (c(-1, 0) + c(1, 0) + c(0, -1) + c(0, 1)) +
                                    4 * (c(-1, -1) + c(1, -1) + c(-1, 1) + c(1, 1))) / 64;
                pixel |= (v & 0xFF) << shift;
            }
            out[static_cast<size_t>(y - top) * w + (x - left)] = pixel;
        }
    }
    for (int y = top + 1; y < bottom - 1; ++y)
        for (int x = left + 1; x < right - 1; ++x)
            bitmap[static_cast<size_t>(y) * width + x] = out[static_cast<size_t>(y - top) * w + (x - left)];
}

GlyphAtlas::GlyphAtlas(GlyphRasteriser& rasteriser, GlyphPages& pages)
    : m_rasteriser(rasteriser), m_pages(pages), m_glyphs(65536)
{
}

bool GlyphAtlas::NewPage()
{
    if (!m_pages.CreatePage())
        return false;
    m_penX = m_penY = m_gap;
    std::memset(m_rasteriser.Bitmap(), 0, sizeof(uint32_t) * kSize * kSize);
    return true;
}

bool GlyphAtlas::Initialize(char16_t first, uint32_t last)
{
    if (!NewPage())
        return false;
    if (AddGlyphs(first, last))
        Upload();
    return true;
}

void GlyphAtlas::Upload()
{
    if (HasPage())
        m_pages.UploadPage(m_rasteriser.Bitmap());
}

bool GlyphAtlas::AddGlyphs(char16_t first, uint32_t last)
{
    if (!HasPage())
        return false;
    int cx = 0, cy = 0;
    const char16_t x = u'x';
    if (!m_rasteriser.Measure(&x, 1, &cx, &cy))
        return false;
    m_gap = static_cast<int>(std::ceil(0.2 * cy));
    int penX = m_penX ? m_penX : m_gap;
    int penY = m_penY ? m_penY : m_gap;
    for (uint32_t code = first; code < last && code < 65536; ++code) {
        const char16_t c = code == u'\t' ? u' ' : static_cast<char16_t>(code);
        if (!m_rasteriser.Measure(&c, 1, &cx, &cy) || cx > kSize || cy > kSize)
            return false;
        if (m_gap + cx + penX > kSize) {
            penX = m_gap;
            penY += cy + 6;
        }
        if (penY + cy > kSize) {
            Upload(); // the full page
            if (!NewPage())
                return false;
            penX = m_gap;
            penY = 0;
        }
        m_rasteriser.DrawGlyph(c, penX, penY);
        SoftenCell(m_rasteriser.Bitmap(), kSize, kSize, penX, penY, penX + cx, penY + cy);
        Glyph& g = m_glyphs[code];
        g.uLeft = static_cast<float>(penX) / kSize;
        g.uRight = static_cast<float>(penX + cx) / kSize;
        g.vTop = static_cast<float>(penY) / kSize;
        g.vBottom = static_cast<float>(penY + cy) / kSize;
        g.page = static_cast<uint32_t>(m_pages.PageCount() - 1);
        penX += cx + m_gap;
    }
    m_penX = penX;
    m_penY = penY;
    return true;
}

bool GlyphAtlas::EnsureGlyph(char16_t c)
{
    if (!m_glyphs[c].Missing())
        return true;
    if (!AddGlyphs(c, static_cast<uint32_t>(c) + 1))
        return false;
    Upload();
    return !m_glyphs[c].Missing();
}

} // namespace OnScreenDisplay
