#include "viewer/panels/CQORSubtitlePanel.h"

#include "viewer/panels/PanelDrawing.h"

using namespace Panels;

void CQORSubtitlePanel::Layout()
{
    Place(m_overlay, OnScreenDisplay::FitRectToAspect(0, 0, m_rect.Width(), m_rect.Height(), true, m_aspect));
}

void CQORSubtitlePanel::Render(float alpha)
{
    float f = 0;
    if (!BeginPanel(*this, Fade::EasedBoth, &f))
        return;
    // The overlay draws nothing until the first bitmap has been put into its texture.
    DrawChild(m_overlay, f * alpha);
}
