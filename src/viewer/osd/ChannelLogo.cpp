#include "viewer/osd/ChannelLogo.h"

#include "viewer/osd/Display.h"
#include "viewer/osd/WidgetDrawing.h"

namespace OnScreenDisplay {

void ChannelLogo::Render(float alpha)
{
    DrawingSurface* surface = m_display ? m_display->GetSurface() : nullptr;
    const float w = m_rect.Width(), h = m_rect.Height();
    if (!surface || !(w > 0) || !(h > 0))
        return;
    // Caps of 24 and 80 of a 169 x 64 frame: 0.375 H on the left, 1.25 H on the right.
    const float x[4] = {-1.0f, 0.75f * h / w - 1.0f, 1.0f - 2.5f * h / w, 1.0f};
    const FrameRect* f = m_texture ? m_texture->GetFirstFrameRect() : nullptr;
    const FrameRect r = f ? *f : FrameRect{0, 0, 0, 0};
    const float du = r.right - r.left;
    const float u[4] = {r.left, r.left + du * 24.0f / 169.0f, r.right - du * 80.0f / 169.0f, r.right};
    const uint32_t colour = OpacityColour(alpha);
    Vertex v[8];
    for (int i = 0; i < 4; ++i) {
        v[2 * i] = {x[i], 1.0f, 0, colour, u[i], r.top};
        v[2 * i + 1] = {x[i], -1.0f, 0, colour, u[i], r.bottom};
    }
    SetImageStages(*surface);
    surface->SetTexture(0, f ? m_texture->GetSurfaceTexture() : nullptr);
    surface->DrawTriangleStrip(v, 6);
    surface->SetTexture(0, nullptr);
}

} // namespace OnScreenDisplay
