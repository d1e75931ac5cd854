// One status icon (recording, mute and the like) filling its panel. Fades linearly.
#pragma once

#include "viewer/osd/Image.h"
#include "viewer/osd/Panel.h"

class CQORStatusIcon : public OnScreenDisplay::Panel {
public:
    CQORStatusIcon() = default;

    void Layout() override;
    void Render(float alpha) override;
    uint32_t GetTransitionTime(int state) override;

    OnScreenDisplay::Image* m_icon = nullptr;
};
