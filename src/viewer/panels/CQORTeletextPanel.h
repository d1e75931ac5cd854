// The teletext page with its header bar: page number, back / previous / next, the clock and close.
// The header spans the page's width, not the panel's.
#pragma once

#include "viewer/osd/ActiveCustomDrawControl.h"
#include "viewer/osd/Button.h"
#include "viewer/osd/Image.h"
#include "viewer/osd/Label.h"
#include "viewer/osd/Panel.h"
#include "viewer/osd/TileImage.h"

class CQORTeletextPanel : public OnScreenDisplay::Panel {
public:
    CQORTeletextPanel() = default;

    void Layout() override;
    void Render(float alpha) override;

    OnScreenDisplay::ActiveCustomDrawControl* m_page = nullptr;
    OnScreenDisplay::Button* m_close = nullptr;
    OnScreenDisplay::Image* m_header = nullptr;
    OnScreenDisplay::TileImage* m_firstBlock = nullptr;
    OnScreenDisplay::Button* m_back = nullptr;
    OnScreenDisplay::Image* m_firstSeparator = nullptr;
    OnScreenDisplay::Button* m_next = nullptr;
    OnScreenDisplay::Image* m_secondSeparator = nullptr;
    OnScreenDisplay::Button* m_previous = nullptr;
    OnScreenDisplay::TileImage* m_secondBlock = nullptr;
    OnScreenDisplay::Label* m_pageNumber = nullptr;
    OnScreenDisplay::Label* m_clock = nullptr;
    float m_pageAspect = 1.3333334f; // width / height of the page bitmap
};
