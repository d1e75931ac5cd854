// The teletext page: a custom-drawn picture that passes the pointer to the main frame and follows
// page links on a click.
#pragma once

#include "viewer/osd/CustomDrawControl.h"

namespace OnScreenDisplay {

class ActiveCustomDrawControl : public CustomDrawControl {
public:
    explicit ActiveCustomDrawControl(Component* parent = nullptr) : CustomDrawControl(parent) {}
    bool OnMouseMove(uint32_t flags, int x, int y) override;
    bool OnLButtonDown(uint32_t flags, int x, int y) override;
};

} // namespace OnScreenDisplay
