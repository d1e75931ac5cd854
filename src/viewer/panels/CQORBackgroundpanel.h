// The picture behind everything when no video plays: a background with the maker's logo centred.
// Fades linearly.
#pragma once

#include "viewer/osd/Image.h"
#include "viewer/osd/Panel.h"

class CQORBackgroundpanel : public OnScreenDisplay::Panel {
public:
    CQORBackgroundpanel() = default;

    void Layout() override;
    void Render(float alpha) override;
    uint32_t GetTransitionTime(int state) override;

    OnScreenDisplay::Image* m_background = nullptr;
    OnScreenDisplay::Image* m_makerLogo = nullptr;
};
