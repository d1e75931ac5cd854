// The window buttons of a borderless window: always on top, minimise, maximise and close. Slides
// down from above.
#pragma once

#include "viewer/osd/Button.h"
#include "viewer/osd/Image.h"
#include "viewer/osd/Panel.h"
#include "viewer/osd/PushButton.h"

class CQORTopPanel : public OnScreenDisplay::Panel {
public:
    CQORTopPanel() = default;

    void Layout() override;
    void Render(float alpha) override;

    OnScreenDisplay::Image* m_background = nullptr;
    OnScreenDisplay::PushButton* m_alwaysOnTop = nullptr;
    OnScreenDisplay::Button* m_minimise = nullptr;
    OnScreenDisplay::Button* m_maximise = nullptr;
    OnScreenDisplay::Button* m_close = nullptr;
};
