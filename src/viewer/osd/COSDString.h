// A text laid out once in a font: its letters at the font's shaped advances, grouped by the atlas
// page their glyphs live on, so that drawing needs one texture change per page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace OnScreenDisplay {

class GlyphAtlas;

struct COSDLetter {
    char16_t c;
    int32_t x, y; // pen position in pixels from the start of the text; y is 0 (one line)
    int32_t w, h; // extent of the character alone
};

class COSDString {
public:
    void Layout(GlyphAtlas& font, const std::u16string& text);
    void Clear();

    const std::u16string& GetText() const { return m_text; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    // Letters of page i (empty groups for pages the text does not use).
    const std::vector<std::vector<COSDLetter>>& GetGroups() const { return m_groups; }

private:
    std::vector<std::vector<COSDLetter>> m_groups;
    std::u16string m_text;
    int m_width = 0, m_height = 0;
};

} // namespace OnScreenDisplay
