#include "viewer/osd/Seekbar.h"

#include "viewer/osd/Display.h"
#include "viewer/osd/WidgetDrawing.h"

namespace OnScreenDisplay {

void Seekbar::SetPosition(float position)
{
    m_position = position < 0.0f ? 0.0f : (position > 1.0f ? 1.0f : position);
    if (!(position == position))
        m_position = 0.0f; // NaN
}

void Seekbar::Render(float alpha)
{
    DrawingSurface* surface = m_display ? m_display->GetSurface() : nullptr;
    if (!surface)
        return;
    const FrameRect* f = m_texture ? m_texture->GetFirstFrameRect() : nullptr;
    SetImageStages(*surface);
    // The frame is stretched over the fill, not cut.
    DrawQuad(*surface, f ? m_texture->GetSurfaceTexture() : nullptr, -1, 1, 2 * m_position - 1, -1,
             f ? *f : FrameRect{0, 0, 0, 0}, OpacityColour(alpha));
}

bool Seekbar::OnLButtonDown(uint32_t, int x, int)
{
    const float w = m_rect.Width();
    if (!(w > 0))
        return false;
    float f = static_cast<float>(x) / w;
    f = f < 0.0f ? 0.0f : (f > 1.0f ? 1.0f : f);
    return m_display ? m_display->OnSeek(m_id, f) : true;
}

} // namespace OnScreenDisplay
