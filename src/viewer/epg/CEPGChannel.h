// One row of the guide grid: a channel and its events in start order, which it owns.
#pragma once

#include <cstdint>

#include "framework/CList.h"
#include "framework/CString.h"
#include "viewer/epg/CEPGEvent.h"

class CEPGChannel {
public:
    CEPGChannel() : m_name(L"None"), m_events(10) {}
    CEPGChannel(const CEPGChannel&) = delete;
    CEPGChannel& operator=(const CEPGChannel&) = delete;
    virtual ~CEPGChannel();

    // The position from which a walk meets every event that ends after `time`: the one before the
    // first such event (or that event when it is the head); null when every event has ended.
    POSITION FindFirstVisible(int64_t time) const;
    // Forgets the laid-out name and every laid-out title.
    void DropTexts();

    CString m_name;
    // Service id in bits 48-63, transport stream id in 32-47, the list's number in 16-31.
    uint32_t m_keyLow = 0, m_keyHigh = 0;
    CList<CEPGEvent*, CEPGEvent*> m_events;
    OnScreenDisplay::COSDString* m_nameText = nullptr; // owned; laid out by the guide on first drawing
};
