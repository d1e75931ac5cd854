// The main menu: five text buttons over a background, travelled with the arrow keys along links the
// display sets. Slides in from the left.
#pragma once

#include <unordered_map>

#include "viewer/osd/Image.h"
#include "viewer/osd/Panel.h"
#include "viewer/osd/TextButton.h"

// Where each arrow key leads from a control; null stays put.
struct MenuLink {
    OnScreenDisplay::Control* up = nullptr;
    OnScreenDisplay::Control* down = nullptr;
    OnScreenDisplay::Control* left = nullptr;
    OnScreenDisplay::Control* right = nullptr;
};

class CQORMenu : public OnScreenDisplay::Panel {
public:
    static constexpr int kItems = 5;

    CQORMenu() = default;
    ~CQORMenu() override { m_links.clear(); }

    void Layout() override;
    void Render(float alpha) override;

    // A key while the menu is the active panel: true when the menu used it (the frame then stops).
    bool OnKey(unsigned key);
    // Focuses the first item, so that the arrows and Return work at once (the background, child 0,
    // takes no keys).
    void FocusFirstItem();
    void SetLink(OnScreenDisplay::Control* from, const MenuLink& link) { m_links[from] = link; }
    const MenuLink* FindLink(OnScreenDisplay::Control* from) const;

    OnScreenDisplay::Image* m_background = nullptr;
    OnScreenDisplay::TextButton* m_items[kItems] = {};

private:
    std::unordered_map<OnScreenDisplay::Control*, MenuLink> m_links;
};
