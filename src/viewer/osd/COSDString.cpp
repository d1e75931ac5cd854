#include "viewer/osd/COSDString.h"

#include "viewer/osd/GlyphAtlas.h"

namespace OnScreenDisplay {

void COSDString::Clear()
{
    m_groups.clear();
    m_text.clear();
    m_width = m_height = 0;
}

void COSDString::Layout(GlyphAtlas& font, const std::u16string& text)
{
    Clear();
    m_text = text;
    GlyphRasteriser& r = font.Rasteriser();
    if (text.empty() || !r.Measure(text.data(), static_cast<int>(text.size()), &m_width, &m_height)) {
        m_width = m_height = 0; // an empty text measures 0 x 0 and draws nothing
        return;
    }
    std::u16string shaped;
    std::vector<int> advances;
    // The shaper may return fewer glyphs than code units and writes no terminator: walk what it
    // returned. Without it, letters stand at their own extents.
    const bool placed = r.Placement(text, &shaped, &advances) && !shaped.empty() && advances.size() >= shaped.size();
    const std::u16string& letters = placed ? shaped : text;
    int x = 0, previousAdvance = 0;
    for (size_t i = 0; i < letters.size(); ++i) {
        const char16_t c = letters[i];
        x += previousAdvance;
        int w = 0, h = 0;
        r.Measure(&c, 1, &w, &h);
        previousAdvance = placed ? advances[i] : w;
        if (!font.EnsureGlyph(c))
            continue; // no usable glyph: the letter is left out, its advance kept
        const uint32_t page = font.GetGlyph(c).page;
        if (m_groups.size() <= page)
            m_groups.resize(page + 1);
        m_groups[page].push_back({c, x, 0, w, h});
    }
}

} // namespace OnScreenDisplay
