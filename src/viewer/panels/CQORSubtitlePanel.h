// The subtitle overlay, kept at the picture's aspect over the video.
#pragma once

#include "viewer/osd/CustomDrawControl.h"
#include "viewer/osd/Panel.h"

class CQORSubtitlePanel : public OnScreenDisplay::Panel {
public:
    CQORSubtitlePanel() = default;

    void Layout() override;
    void Render(float alpha) override;

    OnScreenDisplay::CustomDrawControl* m_overlay = nullptr;
    float m_aspect = 4.0f / 3.0f; // width / height; the display gives the picture's
};
