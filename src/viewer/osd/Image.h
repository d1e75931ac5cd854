// A control that draws frame 0 of a skin texture over its whole rectangle; without a texture, a
// white quad of the opacity.
#pragma once

#include "viewer/osd/Control.h"
#include "viewer/osd/SkinTexture.h"

namespace OnScreenDisplay {

class Image : public Control {
public:
    explicit Image(Component* parent = nullptr) : Control(parent) {}
    ~Image() override;

    // Keeps a reference to the texture (null allowed) and gives up the previous one.
    virtual void SetTexture(SkinTexture* texture) { AssignTexture(m_texture, texture); }
    SkinTexture* GetTexture() const { return m_texture; }
    void Render(float alpha) override;

protected:
    SkinTexture* m_texture = nullptr;
};

} // namespace OnScreenDisplay
