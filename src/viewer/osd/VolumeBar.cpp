#include "viewer/osd/VolumeBar.h"

#include <cmath>

#include "viewer/osd/Display.h"
#include "viewer/osd/WidgetDrawing.h"

namespace OnScreenDisplay {

void VolumeBar::Segments(int* count, int* lit) const
{
    const float w = m_rect.Width(), h = m_rect.Height();
    *count = *lit = 0;
    if (!(w > 0) || !(h > 0) || !(m_segmentAspect > 0))
        return;
    // A tall bar or a wild value must not ask for more segments than a batch holds.
    const double n = std::floor(m_segmentAspect * h / w);
    *count = n > kMaxSegments ? kMaxSegments : static_cast<int>(n);
    const double f = std::ceil(*count * static_cast<double>(m_value) * 0.01);
    *lit = !(f > 0) ? 0 : (f > *count ? *count : static_cast<int>(f));
}

void VolumeBar::Render(float alpha)
{
    DrawingSurface* surface = m_display ? m_display->GetSurface() : nullptr;
    if (!surface || !m_texture)
        return;
    int count, lit;
    Segments(&count, &lit);
    if (count == 0)
        return;
    const float w = m_rect.Width(), h = m_rect.Height();
    const float segment = 2.0f * w / (h * m_segmentAspect);
    const uint32_t colour = OpacityColour(alpha);
    SetImageStages(*surface);
    surface->SetTexture(0, m_texture->GetSurfaceTexture());
    // The top segments unlit (frame 0), the bottom ones lit (frame 1), the column centred.
    for (int part = 0; part < 2; ++part) {
        const FrameRect* f = m_texture->GetFrameRect(part);
        const int first = part == 0 ? 0 : count - lit;
        const int last = part == 0 ? count - lit : count;
        if (!f || first == last)
            continue;
        Vertex v[6 * kMaxSegments];
        int n = 0;
        for (int i = first; i < last; ++i) {
            const float top = count * segment / 2 - i * segment;
            const float bottom = top - segment;
            const Vertex tl{-1, top, 0, colour, f->left, f->top}, tr{1, top, 0, colour, f->right, f->top};
            const Vertex bl{-1, bottom, 0, colour, f->left, f->bottom}, br{1, bottom, 0, colour, f->right, f->bottom};
            v[n++] = tl;
            v[n++] = tr;
            v[n++] = bl;
            v[n++] = tr;
            v[n++] = br;
            v[n++] = bl;
        }
        surface->DrawTriangles(v, static_cast<unsigned>(n / 3));
    }
    surface->SetTexture(0, nullptr);
}

} // namespace OnScreenDisplay
