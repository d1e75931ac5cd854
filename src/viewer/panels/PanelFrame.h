// What the panels ask of the viewer's main frame: the channel number typed into the tune panel and
// a redraw of the guide after its window moved. Whoever builds a panel gives it the frame; a panel
// given none tells nobody.
#pragma once

class PanelFrame {
public:
    virtual ~PanelFrame() = default;
    // The number entered so far (0 when none).
    virtual void OnChannelNumber(int number) = 0;
    virtual void RefreshGuide() = 0;
};
