#include "viewer/osd/PushTextButton.h"

#include <cmath>

#include "viewer/osd/TextButton.h"

namespace OnScreenDisplay {

PushTextButton::PushTextButton(Component* parent) : PushButton(parent), m_caption(new Label())
{
    m_caption->m_alignment = AlignCentre;
    m_caption->SetParent(this);
}

void PushTextButton::Layout()
{
    LayoutCaption(*this, *m_caption, kCaptionRatio);
}

void PushTextButton::Render(float alpha)
{
    if (std::fabs(m_rect.Width() * m_rect.Height()) < 1e-6f || !m_display)
        return;
    Button::Render(alpha);
    DrawCaption(*this, *m_caption, m_state == Pressed, alpha);
}

} // namespace OnScreenDisplay
