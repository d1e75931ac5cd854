// The top menu bar: a row of tabs on a stretched background. Slides down from above.
#pragma once

#include "viewer/osd/Panel.h"
#include "viewer/osd/Tabs.h"
#include "viewer/osd/TileImage.h"

class CQORMenuPanel : public OnScreenDisplay::Panel {
public:
    CQORMenuPanel() = default;

    void Layout() override;
    void Render(float alpha) override;

    OnScreenDisplay::TileImage* m_background = nullptr;
    OnScreenDisplay::Tabs* m_tabs = nullptr;
};
