// One programme of the guide grid, as the engine pushed it. All times are UTC instants; local time
// appears only where text is formatted.
#pragma once

#include <cstdint>

#include "framework/CString.h"

namespace OnScreenDisplay {
class COSDString;
}

class CEPGEvent {
public:
    CEPGEvent() = default;
    CEPGEvent(const CEPGEvent&) = delete;
    CEPGEvent& operator=(const CEPGEvent&) = delete;
    virtual ~CEPGEvent();

    int64_t End() const { return m_start + static_cast<int64_t>(m_durationMinutes) * 60; }
    bool HasKey(uint32_t keyLow, uint32_t keyHigh) const { return m_keyLow == keyLow && m_keyHigh == keyHigh; }
    // Start plus half the duration in whole minutes.
    int64_t Midpoint() const { return m_start + static_cast<int64_t>(m_durationMinutes / 2) * 60; }
    // Forgets the laid-out title (its glyph places belong to a font that may be gone).
    void DropText();

    // Original network id, transport stream id, service id, event id from the top 16 bits down.
    uint32_t m_keyLow = 0, m_keyHigh = 0;
    CString m_title;
    OnScreenDisplay::COSDString* m_titleText = nullptr; // owned; laid out by the guide on first drawing
    int64_t m_start = 0;                                // seconds since 1970, UTC
    int32_t m_durationMinutes = 0;
    uint32_t m_genre = 0;
    CString m_text, m_extraText;
    uint32_t m_flags = 0;
};
