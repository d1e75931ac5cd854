// The header bar of a list screen: background, tabs and a close button. The switcher, recorded-
// shows and channel lists each have their own class of it; they share layout and drawing.
#pragma once

#include "viewer/osd/Button.h"
#include "viewer/osd/Image.h"
#include "viewer/osd/Panel.h"
#include "viewer/osd/Tabs.h"

class CQORListHeaderPanel : public OnScreenDisplay::Panel {
public:
    void Layout() override;
    void Render(float alpha) override;
    uint32_t GetTransitionTime(int state) override;

    // The bar's three parts, as the guide's header places them too.
    static void PlaceBar(float width, OnScreenDisplay::Control* background, OnScreenDisplay::Control* close,
                         OnScreenDisplay::Control* tabs);

    OnScreenDisplay::Image* m_background = nullptr;
    OnScreenDisplay::Tabs* m_tabs = nullptr;
    OnScreenDisplay::Button* m_close = nullptr;

protected:
    CQORListHeaderPanel() = default;
};

class CQORSwitcherHeaderPanel : public CQORListHeaderPanel {};
class CQORRecordedHeaderPanel : public CQORListHeaderPanel {};
class CQORChannelsHeaderPanel : public CQORListHeaderPanel {};
