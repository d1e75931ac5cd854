#include "viewer/panels/CQORTunePanel.h"

#include <string>

#include "viewer/osd/Clock.h"
#include "viewer/osd/Scale.h"
#include "viewer/panels/PanelDrawing.h"
#include "viewer/panels/PanelFrame.h"

using namespace Panels;

void CQORTunePanel::Layout()
{
    const float s = OnScreenDisplay::GetScale(), w = m_rect.Width(), h = m_rect.Height();
    Place(m_upperBackground, 0, 0, w, 80 * s);
    Place(m_numberLabel, 16 * s, 8 * s, w - 16 * s, 72 * s);
    Place(m_lowerBackground, 0, 88 * s, w, h);
    Place(m_channelList, 8 * s, 96 * s, w - 8 * s, h - 8 * s);
}

void CQORTunePanel::Render(float alpha)
{
    float f = 0;
    if (!BeginPanel(*this, Fade::EasedBoth, &f))
        return;
    {
        MotionScope motion(*this, Motion::FromRight, f);
        DrawChild(m_upperBackground, 0.85f * f * alpha);
        DrawChild(m_lowerBackground, 0.85f * f * alpha);
        DrawChild(m_numberLabel, f * alpha);
        DrawChild(m_channelList, f * alpha);
    }
    // Signed difference: the tick count wraps every 49.7 days.
    if (m_hideDeadline != 0 && static_cast<int32_t>(OnScreenDisplay::Now() - m_hideDeadline) > 0) {
        Panel::SetState(Hidden);
        m_hideDeadline = 0;
    }
}

uint32_t CQORTunePanel::AnimationDelay(uint32_t now)
{
    const uint32_t delay = Panel::AnimationDelay(now);
    if (m_hideDeadline == 0 || m_state == Hidden)
        return delay;
    const int32_t left = static_cast<int32_t>(m_hideDeadline - now);
    const uint32_t hide = left < 0 ? 0 : static_cast<uint32_t>(left) + 1;
    return hide < delay ? hide : delay;
}

uint32_t CQORTunePanel::GetTransitionTime(int state)
{
    return state == Showing || state == Hiding ? 300 : 1;
}

void CQORTunePanel::AddDigit(int digit)
{
    if (digit < 0)
        m_number /= 10;
    else if (digit <= 9 && m_number <= kMaxNumber / 10)
        m_number = m_number * 10 + digit;
    ShowNumber();
}

void CQORTunePanel::ClearNumber()
{
    m_number = 0;
    m_hideDeadline = 0;
    if (m_numberLabel)
        m_numberLabel->SetText(std::u16string());
    if (m_frame)
        m_frame->OnChannelNumber(0);
}

void CQORTunePanel::ShowNumber()
{
    if (m_number < 1) {
        // 0 means no deadline, so a deadline that lands on tick 0 is kept one tick later.
        m_hideDeadline = OnScreenDisplay::Now() + kHideDelay;
        if (m_hideDeadline == 0)
            m_hideDeadline = 1;
        if (m_numberLabel)
            m_numberLabel->SetText(std::u16string());
    } else {
        m_hideDeadline = 0;
        if (m_numberLabel) {
            const std::string digits = std::to_string(m_number);
            m_numberLabel->SetText(std::u16string(digits.begin(), digits.end()));
        }
    }
    if (m_frame)
        m_frame->OnChannelNumber(m_number);
}
