// One slot of the video-stream table, drawn over the whole control.
#pragma once

#include "viewer/osd/Control.h"

namespace OnScreenDisplay {

class Video : public Control {
public:
    explicit Video(Component* parent = nullptr) : Control(parent) {}
    void Render(float alpha) override;

    int m_slot = -1; // -1: no video
    static constexpr int kSlots = 32;
};

} // namespace OnScreenDisplay
