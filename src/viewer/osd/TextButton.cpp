#include "viewer/osd/TextButton.h"

#include <cmath>

namespace OnScreenDisplay {

void LayoutCaption(Control& button, Label& caption, float ratio)
{
    const float w = button.GetRect().Width(), h = button.GetRect().Height();
    const float c = ratio * h;
    caption.SetRect(0, (h - c) / 2, w, (h - c) / 2 + c);
    caption.Layout();
}

void DrawCaption(Control& button, Label& caption, bool pressed, float alpha)
{
    if (!pressed) {
        button.DrawChild(&caption, alpha);
        return;
    }
    const RectF stored = caption.GetRect();
    const float sink = 0.05f * stored.Height();
    caption.SetRect(stored.left, stored.top + sink, stored.right, stored.bottom + sink);
    caption.Layout();
    button.DrawChild(&caption, alpha);
    caption.SetRect(stored);
    caption.Layout();
}

TextButton::TextButton(Component* parent) : Button(parent), m_caption(new Label())
{
    m_caption->m_alignment = AlignCentre;
    m_caption->SetParent(this);
}

void TextButton::Layout()
{
    LayoutCaption(*this, *m_caption, m_captionRatio);
}

void TextButton::Render(float alpha)
{
    if (std::fabs(m_rect.Width() * m_rect.Height()) < 1e-6f || !m_display)
        return;
    Button::Render(alpha);
    DrawCaption(*this, *m_caption, m_state == Pressed, alpha);
}

} // namespace OnScreenDisplay
