// A nine-cell frame: the corners keep their size in skin pixels (times the OSD scale), the edges
// and the centre stretch.
#pragma once

#include "viewer/osd/Image.h"

namespace OnScreenDisplay {

class TileImage : public Image {
public:
    explicit TileImage(Component* parent = nullptr) : Image(parent) {}

    // Also cuts the texture at 10/31 and 21/31 of its frame, with borders of 20.
    void SetTexture(SkinTexture* texture) override;
    // Border widths in skin pixels; the texture is cut at the same pixel sizes. Needs a texture.
    void SetBorders(float left, float right, float top, float bottom);
    void Render(float alpha) override;

    float U(int i) const { return m_u[i]; }
    float V(int i) const { return m_v[i]; }

private:
    float m_left = 20, m_right = 20, m_top = 20, m_bottom = 20;
    float m_u[4] = {0, 0, 0, 0};
    float m_v[4] = {0, 0, 0, 0};
};

} // namespace OnScreenDisplay
