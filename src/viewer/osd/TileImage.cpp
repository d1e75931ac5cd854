#include "viewer/osd/TileImage.h"

#include "viewer/osd/Display.h"
#include "viewer/osd/Scale.h"
#include "viewer/osd/WidgetDrawing.h"

namespace OnScreenDisplay {

void TileImage::SetTexture(SkinTexture* texture)
{
    Image::SetTexture(texture);
    const FrameRect* f = texture ? texture->GetFirstFrameRect() : nullptr;
    if (!f)
        return;
    const float w = f->right - f->left, h = f->bottom - f->top;
    m_u[0] = f->left;
    m_u[1] = f->left + w * 10.0f / 31.0f;
    m_u[2] = f->left + w * 21.0f / 31.0f;
    m_u[3] = f->right;
    m_v[0] = f->top;
    m_v[1] = f->top + h * 10.0f / 31.0f;
    m_v[2] = f->top + h * 21.0f / 31.0f;
    m_v[3] = f->bottom;
    m_left = m_right = m_top = m_bottom = 20.0f;
}

void TileImage::SetBorders(float left, float right, float top, float bottom)
{
    const FrameRect* f = m_texture ? m_texture->GetFirstFrameRect() : nullptr;
    const float wt = m_texture ? static_cast<float>(m_texture->GetContentWidth()) : 0.0f;
    const float ht = m_texture ? static_cast<float>(m_texture->GetFrameContentHeight()) : 0.0f;
    if (!f || wt <= 0 || ht <= 0)
        return;
    m_u[0] = f->left;
    m_u[3] = f->right;
    m_v[0] = f->top;
    m_v[3] = f->bottom;
    m_u[1] = f->left + left / wt * (f->right - f->left);
    m_u[2] = f->left + (wt - right) / wt * (f->right - f->left);
    m_v[1] = f->top + top / ht * (f->bottom - f->top);
    m_v[2] = f->top + (ht - bottom) / ht * (f->bottom - f->top);
    m_left = left;
    m_right = right;
    m_top = top;
    m_bottom = bottom;
}

void TileImage::Render(float alpha)
{
    DrawingSurface* surface = m_display ? m_display->GetSurface() : nullptr;
    const float w = m_rect.Width(), h = m_rect.Height();
    // A zero size would divide into infinities.
    if (!surface || !m_texture || !(w > 0) || !(h > 0))
        return;
    const float s = GetScale();
    const float x[4] = {-1.0f, 2 * s * m_left / w - 1, 2 * (w - s * m_right) / w - 1, 1.0f};
    const float y[4] = {1.0f, 1 - 2 * s * m_top / h, 1 - 2 * (h - s * m_bottom) / h, -1.0f};
    const uint32_t colour = OpacityColour(alpha);
    Vertex v[54];
    int n = 0;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const Vertex tl{x[col], y[row], 0, colour, m_u[col], m_v[row]};
            const Vertex tr{x[col + 1], y[row], 0, colour, m_u[col + 1], m_v[row]};
            const Vertex bl{x[col], y[row + 1], 0, colour, m_u[col], m_v[row + 1]};
            const Vertex br{x[col + 1], y[row + 1], 0, colour, m_u[col + 1], m_v[row + 1]};
            v[n++] = tl;
            v[n++] = tr;
            v[n++] = bl;
            v[n++] = tr;
            v[n++] = br;
            v[n++] = bl;
        }
    }
    SetImageStages(*surface);
    surface->SetTexture(0, m_texture->GetSurfaceTexture());
    surface->DrawTriangles(v, 18);
    surface->SetTexture(0, nullptr);
}

} // namespace OnScreenDisplay
