// What the viewer's display tells the main frame: the OSD's notifications, forwarded unchanged.
// The main frame implements it; without a listener the notifications are dropped.
#pragma once

#include <cstdint>

namespace viewer {

class DisplayListener {
public:
    virtual ~DisplayListener() = default;
    // A button, a tab or the main menu's Return key: the control's id.
    virtual void OnOsdCommand(int id) = 0;
    // The seek bar, fraction 0..1; true when the frame seeked.
    virtual bool OnOsdSeek(int id, double fraction) = 0;
    // The stream switcher: the chosen item's code (high word 1 audio, 2 subtitles).
    virtual void OnOsdStreamMenu(int code) = 0;
    // A list: its control id and the chosen item's two values.
    virtual void OnOsdListSelect(int list, int value, int value2) = 0;
    // The guide: a click on a channel, and the event menu.
    virtual void OnOsdGuideClick(int guide, uint32_t keyLow, uint32_t keyHigh) = 0;
    virtual void OnOsdGuideMenu(int guide, uint32_t eventKeyLow, uint32_t eventKeyHigh, uint32_t channelKeyLow,
                                uint32_t channelKeyHigh, uint32_t flags, bool running, bool past) = 0;
};

} // namespace viewer
