// When the five bars hide by themselves: once the pointer has moved into the middle of the window
// (armed), 3000 ms after they were last shown, unless the main menu is up. Ticks are milliseconds
// of a 32-bit counter that wraps, so only differences are compared.
#pragma once

#include <cstdint>

namespace viewer {

class ControlsAutoHide {
public:
    static constexpr uint32_t kTimeoutMs = 3000;

    // A pointer move in the middle band.
    void Arm() { m_armed = true; }
    // A pointer move in the top or bottom band: the bars are shown and stay.
    void ShownByPointer(uint32_t now)
    {
        m_shownAt = now;
        m_armed = false;
    }
    // A key or command showed the bars: the clock restarts, the flag stays.
    void Restart(uint32_t now) { m_shownAt = now; }

    // True when the bars are due to hide; the flag stays set, so they are asked to hide every frame.
    bool IsDue(uint32_t now, bool menuUp) const
    {
        return m_armed && !menuUp && static_cast<uint32_t>(now - m_shownAt) > kTimeoutMs;
    }
    bool IsArmed() const { return m_armed; }
    uint32_t ShownAt() const { return m_shownAt; }

private:
    uint32_t m_shownAt = 0;
    bool m_armed = false;
};

} // namespace viewer
