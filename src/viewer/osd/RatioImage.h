// A picture that keeps its aspect inside its rectangle, centred (letter- or pillar-boxed).
#pragma once

#include "viewer/osd/Image.h"

namespace OnScreenDisplay {

class RatioImage : public Image {
public:
    explicit RatioImage(Component* parent = nullptr) : Image(parent) {}
    void Render(float alpha) override;

    float m_aspect = 4.0f / 3.0f; // width / height of the picture
};

} // namespace OnScreenDisplay
