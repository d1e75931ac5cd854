// When the render thread draws: at most once per refresh of the display, and only when something
// changed since the last picture (a new video frame, a change of the OSD tree) or an animation of
// the tree is due. Times are microseconds of a monotonic clock the caller reads; the decisions need
// no device, so they are the same with the platform's clock and with a test's.
#pragma once

#include <cstdint>

namespace OnScreenDisplay {

class RedrawSchedule {
public:
    // A display that reports no refresh rate is taken as 60 Hz.
    static constexpr unsigned kDefaultRefreshHz = 60;

    explicit RedrawSchedule(unsigned refreshHz = kDefaultRefreshHz);

    // The refresh period for a display mode's rate in hertz (0: unknown).
    static int64_t PeriodFor(unsigned refreshHz);
    int64_t Period() const { return m_period; }

    // Starts the refresh clock at now with a draw due: the first refresh draws whatever happened.
    void Start(int64_t now);
    // The time of the next refresh, and how long from now until it (0 when it has come).
    int64_t NextRefresh() const { return m_nextRefresh; }
    int64_t WaitFrom(int64_t now) const { return now < m_nextRefresh ? m_nextRefresh - now : 0; }

    // At or after the next refresh: moves the clock to the refresh after it and tells whether to
    // draw, which is when something changed or the tree's animation is due. A refresh that was
    // missed by more than a period (a slow draw, a stalled thread) starts the clock again from now.
    bool Refresh(int64_t now, bool changed);
    // After a draw at now: the tree's picture changes by itself in delayMs milliseconds (0: at every
    // refresh, kStill: not until a change from outside).
    void Drawn(int64_t now, uint32_t delayMs);

    static constexpr uint32_t kStill = 0xFFFFFFFFu;

private:
    int64_t m_period;
    int64_t m_nextRefresh = 0;
    int64_t m_animationDue = 0;
    bool m_animationPending = true;
};

} // namespace OnScreenDisplay
