// What the panels ask of the viewer's main frame: the channel number typed into the tune panel and
// a redraw of the guide after its window moved. The frame registers itself while it exists; with
// none registered the panels tell nobody.
#pragma once

class PanelFrame {
public:
    virtual ~PanelFrame() = default;
    // The number entered so far (0 when none).
    virtual void OnChannelNumber(int number) = 0;
    virtual void RefreshGuide() = 0;
};

void SetPanelFrame(PanelFrame* frame);
PanelFrame* GetPanelFrame();
