#include "viewer/osd/Label.h"

#include <cmath>

#include "viewer/osd/Display.h"

namespace OnScreenDisplay {

uint32_t FadeColour(uint32_t colour, float alpha)
{
    if (!(alpha > 0.0f))
        alpha = 0.0f;
    if (alpha > 1.0f)
        alpha = 1.0f;
    return (colour & 0x00FFFFFFu) | static_cast<uint32_t>((colour >> 24) * alpha) << 24;
}

void Label::SetText(const std::u16string& text)
{
    m_text = text;
    if (m_font)
        m_string.Layout(m_font->Atlas(), text);
    else
        m_string.Clear();
}

void Label::ResetBorrowed()
{
    m_borrowed = nullptr;
    m_borrowedColour = 0;
    m_borrowedAlignment = AlignLeft;
    m_borrowedFadeStart = -1.0f;
    m_borrowedFadeEnd = 1.0f;
}

void Label::Render(float alpha)
{
    const float w = m_rect.Width(), h = m_rect.Height();
    if (std::fabs(w * h) < 1e-6f || !m_display || !m_font)
        return;
    TextStyle style;
    style.aspect = w / h;
    if (m_borrowed) {
        style.colour = m_borrowedColour;
        style.align = m_borrowedAlignment;
        style.fadeStart = m_borrowedFadeStart;
        style.fadeEnd = m_borrowedFadeEnd;
        m_font->Draw(*m_borrowed, style);
    } else {
        style.colour = FadeColour(m_colour, alpha);
        style.align = m_alignment;
        m_font->Draw(m_string, style);
    }
}

} // namespace OnScreenDisplay
