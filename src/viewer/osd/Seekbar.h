// A progress fill over the left fraction of the control; a click asks the display to seek there.
#pragma once

#include "viewer/osd/Image.h"

namespace OnScreenDisplay {

class Seekbar : public Image {
public:
    explicit Seekbar(Component* parent = nullptr) : Image(parent) {}

    // Clamped to 0..1.
    void SetPosition(float position);
    float GetPosition() const { return m_position; }
    void Render(float alpha) override;
    bool OnLButtonDown(uint32_t flags, int x, int y) override;

private:
    float m_position = 0.0f;
};

} // namespace OnScreenDisplay
