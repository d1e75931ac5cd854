// The volume bar, shown on every volume change and hiding itself three seconds after the last.
// Fades linearly.
#pragma once

#include "viewer/osd/Panel.h"
#include "viewer/osd/VolumeBar.h"

class CQORVolumePanel : public OnScreenDisplay::Panel {
public:
    static constexpr uint32_t kDisplayTime = 3000; // ms after the last show request

    CQORVolumePanel() = default;

    void Layout() override;
    void Render(float alpha) override;
    uint32_t GetTransitionTime(int state) override;
    // A show request (2) restarts the display time, even on a panel already shown.
    void SetState(int target) override;
    // Shown, it is due to hide when its display time has run.
    uint32_t AnimationDelay(uint32_t now) override;

    OnScreenDisplay::VolumeBar* m_volumeBar = nullptr;

private:
    uint32_t m_lastShow = 0;
};
