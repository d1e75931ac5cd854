// One line of text, its string's height filling the label's height. It is also the text engine of
// buttons, tabs, headers and lists: they lend it their own strings while they draw.
#pragma once

#include <cstdint>
#include <string>

#include "viewer/osd/COSDString.h"
#include "viewer/osd/Control.h"
#include "viewer/osd/OsdFont.h"

namespace OnScreenDisplay {

class Label : public Control {
public:
    explicit Label(Component* parent = nullptr) : Control(parent) {}

    void SetFont(OsdFont* font) { m_font = font; }
    OsdFont* GetFont() const { return m_font; }
    // Stores the text and lays it out in the label's font.
    void SetText(const std::u16string& text);
    const std::u16string& GetText() const { return m_text; }
    const COSDString& GetString() const { return m_string; }
    void Render(float alpha) override;

    uint32_t m_colour = 0xFFFFFFFF;
    int m_alignment = AlignLeft;
    // While set, the label draws this string (owned by the lender) with the borrowed colour as it
    // stands (the opacity is not applied) and alignment.
    const COSDString* m_borrowed = nullptr;
    uint32_t m_borrowedColour = 0;
    int m_borrowedAlignment = AlignLeft;
    float m_borrowedFadeStart = -1.0f, m_borrowedFadeEnd = 1.0f;

    void ResetBorrowed();

private:
    COSDString m_string;
    OsdFont* m_font = nullptr;
    std::u16string m_text;
};

// colour with its alpha byte multiplied by alpha (truncated).
uint32_t FadeColour(uint32_t colour, float alpha);

} // namespace OnScreenDisplay
