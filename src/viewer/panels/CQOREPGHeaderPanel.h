// The guide's header: the bar with its tabs and close button over the time scale.
#pragma once

#include "viewer/osd/Button.h"
#include "viewer/osd/Header.h"
#include "viewer/osd/Image.h"
#include "viewer/osd/Panel.h"
#include "viewer/osd/Tabs.h"

class CQOREPGHeaderPanel : public OnScreenDisplay::Panel {
public:
    CQOREPGHeaderPanel() = default;

    void Layout() override;
    void Render(float alpha) override;
    uint32_t GetTransitionTime(int state) override;

    OnScreenDisplay::Image* m_background = nullptr;
    OnScreenDisplay::Header* m_timeScale = nullptr;
    OnScreenDisplay::Tabs* m_tabs = nullptr;
    OnScreenDisplay::Button* m_close = nullptr;
};
