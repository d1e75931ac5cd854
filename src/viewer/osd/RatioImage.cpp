#include "viewer/osd/RatioImage.h"

#include "viewer/osd/Display.h"

namespace OnScreenDisplay {

void RatioImage::Render(float alpha)
{
    const float w = m_rect.Width(), h = m_rect.Height();
    if (!m_display || !(h > 0) || !(w > 0) || !(m_aspect > 0))
        return;
    const float r = w / h;
    MatrixStack& stack = m_display->GetMatrixStack();
    if (r < m_aspect)
        stack.ScaleLocal(1.0f, r / m_aspect, 1.0f);
    else
        stack.ScaleLocal(m_aspect / r, 1.0f, 1.0f);
    if (DrawingSurface* surface = m_display->GetSurface())
        surface->SetWorldTransform(stack.GetTop());
    Image::Render(alpha); // DrawChild restores the stack afterwards
}

} // namespace OnScreenDisplay
