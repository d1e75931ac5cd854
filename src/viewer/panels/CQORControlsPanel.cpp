#include "viewer/panels/CQORControlsPanel.h"

#include "viewer/osd/Scale.h"
#include "viewer/panels/PanelDrawing.h"

using namespace Panels;

void CQORControlsPanel::Layout()
{
    const float s = OnScreenDisplay::GetScale(), w = m_rect.Width(), h = m_rect.Height();
    Place(m_background, 0, 0, w, h);
    // The three transport buttons sit side by side; a missing one leaves no gap.
    float x = 17 * s;
    for (OnScreenDisplay::Button* button : {m_menu, m_record, m_play}) {
        if (!button)
            continue;
        Place(button, x, 28 * s, x + 69 * s, 28 * s + 35 * s);
        x += 69 * s;
    }
    Place(m_volumeUp, 244 * s, 3 * s, 244 * s + 102 * s, 3 * s + 45 * s);
    Place(m_volumeDown, 244 * s, 43 * s, 244 * s + 102 * s, 43 * s + 45 * s);
    Place(m_channelDown, 233 * s, 16 * s, 233 * s + 57 * s, 16 * s + 58 * s);
    Place(m_channelUp, 300 * s, 16 * s, 300 * s + 57 * s, 16 * s + 58 * s);
    Place(m_mute, 218 * s, 62 * s, 218 * s + 26 * s, 62 * s + 26 * s);
}

void CQORControlsPanel::Render(float alpha)
{
    float f = 0;
    if (!BeginPanel(*this, Fade::Eased, &f))
        return;
    MotionScope motion(*this, Motion::FromLeft, f);
    OnScreenDisplay::Control* const order[] = {m_background, m_menu, m_record, m_play, m_volumeUp,
                                               m_volumeDown, m_channelUp, m_channelDown, m_mute};
    for (OnScreenDisplay::Control* child : order)
        DrawChild(child, f * alpha);
}

uint32_t CQORControlsPanel::GetTransitionTime(int state)
{
    return state == Showing ? 600 : state == Hiding ? 700 : 1;
}
