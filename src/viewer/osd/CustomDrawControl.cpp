#include "viewer/osd/CustomDrawControl.h"

namespace OnScreenDisplay {

CustomDrawControl::CustomDrawControl(Component* parent) : Image(parent)
{
    if (SkinTexture* texture = CreateEmptyTexture()) {
        SetTexture(texture);
        texture->Release(); // the factory's reference: ours is now the only one
    }
}

void CustomDrawControl::Render(float alpha)
{
    if (m_texture && m_texture->HasContent())
        Image::Render(alpha);
}

} // namespace OnScreenDisplay
