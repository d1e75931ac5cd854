// The recorded shows, in as many columns of 800 skin pixels as fit.
#pragma once

#include "viewer/osd/ListBox.h"
#include "viewer/osd/Panel.h"
#include "viewer/osd/TileImage.h"
#include "viewer/panels/CQORListHeaderPanel.h"

class CQORRecordedPanel : public OnScreenDisplay::Panel {
public:
    CQORRecordedPanel() = default;

    void Layout() override;
    void Render(float alpha) override;

    OnScreenDisplay::TileImage* m_background = nullptr;
    OnScreenDisplay::ListBox* m_list = nullptr;
    CQORRecordedHeaderPanel* m_header = nullptr;
};
