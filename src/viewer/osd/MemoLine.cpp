#include "viewer/osd/MemoLine.h"

#include <cmath>

namespace OnScreenDisplay {

void MemoLine::Render(float)
{
    const float w = m_rect.Width(), h = m_rect.Height();
    if (std::fabs(w * h) < 1e-6f || !m_display || !m_line || !m_font)
        return;
    TextStyle style;
    style.aspect = w / h;
    style.colour = m_colour;
    style.align = m_alignment;
    style.fadeStart = m_fadeStart;
    style.fadeEnd = m_fadeEnd;
    style.banded = true;
    style.bandTop = m_bandTop;
    style.bandBottom = m_bandBottom;
    m_font->Draw(*m_line, style);
}

} // namespace OnScreenDisplay
