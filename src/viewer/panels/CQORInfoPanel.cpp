#include "viewer/panels/CQORInfoPanel.h"

#include "viewer/osd/Scale.h"
#include "viewer/panels/PanelDrawing.h"

using namespace Panels;
using OnScreenDisplay::Control;

void CQORInfoPanel::Layout()
{
    const float s = OnScreenDisplay::GetScale(), w = m_rect.Width(), h = m_rect.Height();
    Place(m_background, 0, 0, w, h);
    Place(m_line0, 370 * s, 12 * s, w - 158 * s, 36 * s);
    Place(m_line1, 370 * s, 40 * s, w - 158 * s, 64 * s);
    Place(m_progress, 332 * s, 0, w - 158 * s, 5 * s);
    Place(m_multiAudioIcon, w - 140 * s, h - 40 * s, w - 140 * s + 35 * s, h - 40 * s + 30 * s);
    Place(m_teletextIcon, w - 100 * s, h - 40 * s, w - 100 * s + 35 * s, h - 40 * s + 30 * s);
    Place(m_subtitlesIcon, w - 60 * s, h - 40 * s, w - 60 * s + 35 * s, h - 40 * s + 30 * s);
}

void CQORInfoPanel::Render(float alpha)
{
    float f = 0;
    if (!BeginPanel(*this, Fade::Eased, &f))
        return;
    MotionScope motion(*this, Motion::FromLeft, f);
    OnScreenDisplay::Control* const order[] = {m_background, m_line0, m_line1, m_progress,
                                               m_multiAudioIcon, m_teletextIcon, m_subtitlesIcon};
    for (OnScreenDisplay::Control* child : order)
        DrawChild(child, f * alpha);
}

uint32_t CQORInfoPanel::GetTransitionTime(int state)
{
    return state == Showing || state == Hiding ? 600 : 1;
}
