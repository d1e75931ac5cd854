// The playback controls of the live-television screen: menu, record and play, the volume and
// channel rockers and mute, on one background. Slides in from the left.
#pragma once

#include "viewer/osd/Button.h"
#include "viewer/osd/Image.h"
#include "viewer/osd/Panel.h"

class CQORControlsPanel : public OnScreenDisplay::Panel {
public:
    CQORControlsPanel() = default;

    void Layout() override;
    void Render(float alpha) override;
    uint32_t GetTransitionTime(int state) override;

    // Filled by the display that builds the panel; children of the panel, which frees them.
    OnScreenDisplay::Image* m_background = nullptr;
    OnScreenDisplay::Button* m_menu = nullptr;
    OnScreenDisplay::Button* m_record = nullptr;
    OnScreenDisplay::Button* m_play = nullptr;
    OnScreenDisplay::Button* m_volumeUp = nullptr;
    OnScreenDisplay::Button* m_volumeDown = nullptr;
    OnScreenDisplay::Button* m_channelUp = nullptr;
    OnScreenDisplay::Button* m_channelDown = nullptr;
    OnScreenDisplay::Button* m_mute = nullptr;
};
