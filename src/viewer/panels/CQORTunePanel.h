// The channel-number entry: the typed number above a list of channels. Slides in from the right and
// hides itself 1.5 s after the number has been erased.
#pragma once

#include <cstdint>

#include "viewer/osd/Label.h"
#include "viewer/osd/ListBox.h"
#include "viewer/osd/Panel.h"
#include "viewer/osd/TileImage.h"

class PanelFrame;

class CQORTunePanel : public OnScreenDisplay::Panel {
public:
    static constexpr int32_t kMaxNumber = 9999;  // four digits
    static constexpr uint32_t kHideDelay = 1500; // ms after the number became empty

    CQORTunePanel() = default;

    void Layout() override;
    void Render(float alpha) override;
    uint32_t GetTransitionTime(int state) override;
    // Drawn, it is due to hide at its deadline.
    uint32_t AnimationDelay(uint32_t now) override;

    // 0-9 appends a digit (a fifth is ignored), a negative value erases the last one. Either way
    // the label is refreshed and the main frame told the number.
    void AddDigit(int digit);
    // Forgets the entry and tells the main frame 0.
    void ClearNumber();

    int32_t GetNumber() const { return m_number; }
    uint32_t GetHideDeadline() const { return m_hideDeadline; }
    // The display's time-out: a tick count, 0 for none.
    void SetHideDeadline(uint32_t tick) { m_hideDeadline = tick; }
    // Who hears the typed number; none by default.
    void SetFrame(PanelFrame* frame) { m_frame = frame; }

    OnScreenDisplay::TileImage* m_upperBackground = nullptr;
    OnScreenDisplay::TileImage* m_lowerBackground = nullptr;
    OnScreenDisplay::ListBox* m_channelList = nullptr;
    OnScreenDisplay::Label* m_numberLabel = nullptr;

private:
    void ShowNumber();

    PanelFrame* m_frame = nullptr;
    int32_t m_number = 0;        // 0: none entered
    uint32_t m_hideDeadline = 0; // tick count; 0: none
};
