// The channel list, in as many columns of 800 skin pixels as fit. Slides in from the right.
#pragma once

#include "viewer/osd/ListBox.h"
#include "viewer/osd/Panel.h"
#include "viewer/osd/TileImage.h"
#include "viewer/panels/CQORListHeaderPanel.h"

class CQORChannelsPanel : public OnScreenDisplay::Panel {
public:
    CQORChannelsPanel() = default;

    void Layout() override;
    void Render(float alpha) override;

    OnScreenDisplay::TileImage* m_background = nullptr;
    OnScreenDisplay::ListBox* m_list = nullptr;
    CQORChannelsHeaderPanel* m_header = nullptr;
};
