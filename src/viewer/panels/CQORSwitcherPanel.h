// The audio and subtitle stream switcher: a check list under its header bar.
#pragma once

#include "viewer/osd/CheckListBox.h"
#include "viewer/osd/Panel.h"
#include "viewer/osd/TileImage.h"
#include "viewer/panels/CQORListHeaderPanel.h"

class CQORSwitcherPanel : public OnScreenDisplay::Panel {
public:
    CQORSwitcherPanel() = default;

    void Layout() override;
    void Render(float alpha) override;

    OnScreenDisplay::TileImage* m_background = nullptr;
    OnScreenDisplay::CheckListBox* m_list = nullptr;
    CQORSwitcherHeaderPanel* m_header = nullptr;
};
