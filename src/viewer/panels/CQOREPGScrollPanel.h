// The guide's scroll pad: four arrows and a centre button on a round background. Stays dimly
// visible while hidden so that the pointer finds it.
#pragma once

#include "viewer/osd/Button.h"
#include "viewer/osd/Image.h"
#include "viewer/osd/Panel.h"

class CQOREPGScrollPanel : public OnScreenDisplay::Panel {
public:
    CQOREPGScrollPanel() = default;

    void Layout() override;
    void Render(float alpha) override;
    uint32_t GetTransitionTime(int state) override;
    // Hidden, it still draws its buttons dimly: they may pulse.
    uint32_t AnimationDelay(uint32_t now) override;

    OnScreenDisplay::Image* m_background = nullptr;
    OnScreenDisplay::Button* m_left = nullptr;
    OnScreenDisplay::Button* m_up = nullptr;
    OnScreenDisplay::Button* m_down = nullptr;
    OnScreenDisplay::Button* m_right = nullptr;
    OnScreenDisplay::Button* m_centre = nullptr;
};
