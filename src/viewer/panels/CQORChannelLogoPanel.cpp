#include "viewer/panels/CQORChannelLogoPanel.h"

#include "viewer/osd/Scale.h"
#include "viewer/panels/PanelDrawing.h"

using namespace Panels;

CQORChannelLogoPanel::CQORChannelLogoPanel() : m_logoImage(OnScreenDisplay::CreateEmptyTexture()) {}

CQORChannelLogoPanel::~CQORChannelLogoPanel()
{
    if (m_logoImage)
        m_logoImage->Release();
    if (m_defaultLogo)
        m_defaultLogo->Release();
}

void CQORChannelLogoPanel::Layout()
{
    const float s = OnScreenDisplay::GetScale(), w = m_rect.Width(), h = m_rect.Height();
    Place(m_frame, 0, 0, w, h);
    Place(m_logo, w - 146 * s, 10 * s, w - 146 * s + 132 * s, 10 * s + 100 * s);
    if (!m_name)
        return;
    // Measured first, then sized to the text at the box's height plus one height of margin. An
    // empty name measures 0 x 0 and gets no width.
    Place(m_name, 32 * s, 71 * s, 32 * s, 71 * s + 24 * s);
    const float tw = static_cast<float>(m_name->GetString().GetWidth());
    const float th = static_cast<float>(m_name->GetString().GetHeight());
    const float width = th > 0 ? (tw + th) * 24 * s / th : 0.0f;
    Place(m_name, 32 * s, 71 * s, 32 * s + width, 71 * s + 24 * s);
}

void CQORChannelLogoPanel::Render(float alpha)
{
    float f = 0;
    if (!BeginPanel(*this, Fade::Logo, &f))
        return;
    MotionScope motion(*this, Motion::GrowAndHop, f);
    DrawChild(m_frame, f * alpha);
    DrawChild(m_logo, f * alpha);
    DrawChild(m_name, f * alpha);
}

uint32_t CQORChannelLogoPanel::GetTransitionTime(int state)
{
    return state == Showing ? 700 : state == Hiding ? 400 : 1;
}
