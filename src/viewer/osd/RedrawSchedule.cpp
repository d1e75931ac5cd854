#include "viewer/osd/RedrawSchedule.h"

namespace OnScreenDisplay {

RedrawSchedule::RedrawSchedule(unsigned refreshHz) : m_period(PeriodFor(refreshHz)) {}

int64_t RedrawSchedule::PeriodFor(unsigned refreshHz)
{
    return 1000000 / static_cast<int64_t>(refreshHz ? refreshHz : kDefaultRefreshHz);
}

void RedrawSchedule::Start(int64_t now)
{
    m_nextRefresh = now;
    m_animationDue = now;
    m_animationPending = true;
}

bool RedrawSchedule::Refresh(int64_t now, bool changed)
{
    m_nextRefresh += m_period;
    if (m_nextRefresh <= now)
        m_nextRefresh = now + m_period;
    return changed || (m_animationPending && now >= m_animationDue);
}

void RedrawSchedule::Drawn(int64_t now, uint32_t delayMs)
{
    m_animationPending = delayMs != kStill;
    m_animationDue = now + static_cast<int64_t>(m_animationPending ? delayMs : 0) * 1000;
}

} // namespace OnScreenDisplay
