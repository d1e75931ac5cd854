// The viewer's OSD root. The skinned panels, their layout and the operations the main frame calls
// come with the display itself; until then the root draws an empty tree and no panel is shown.
#pragma once

#include "viewer/osd/Display.h"

class CQORDisplay : public OnScreenDisplay::Display {
public:
    CQORDisplay() = default;

    // True when the panel exists and is shown.
    virtual bool IsGuideShown() const { return false; }
    virtual bool IsMenuShown() const { return false; }
    virtual bool IsTeletextShown() const { return false; }
    virtual bool IsRecordedShown() const { return false; }
    virtual bool IsTuneShown() const { return false; }
    virtual bool IsSwitcherShown() const { return false; }

    // The channel-number entry.
    virtual void ShowTune(bool show) {}
    virtual void ClearTuneNumber() {}
    // A negative digit removes the last one.
    virtual void TuneDigit(int digit) {}
};
