// The Scheduler page's list: owner-drawn report rows of 23 pixels with a recording's description,
// when it next runs and how it repeats. The row texts are also kept as the items' texts, for
// whoever reads the list without seeing it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/CString.h"
#include "framework/win/CFont.h"
#include "framework/win/CListCtrl.h"
#include "plintor/win/ScheduledRecordings.h"

class CSchedulerList : public CListCtrl {
public:
    static const COLORREF kSelectedColour = 0xF0CAA6;
    static const COLORREF kRowColour = 0xFFFFFF;
    enum Column { kDescription, kNextRecording, kRepeat };

    void Initialise();
    void SetHeadings();
    // Appends a row for the record (its data) with its texts as of now.
    void AddRecord(CScheduledRecording* record);

    void DrawItem(DRAWITEMSTRUCT* draw) override;
    void DrawSubItem(DRAWITEMSTRUCT* draw, int column, const RECT& cell) override;

    // "Never", or "Today 20:15 - 21:00" and the like, in the user's date and time formats.
    static CString NextRecordingText(const DVBPlaybackCore::CTask& task, int64_t now);
    // "once", "daily" or "weekly"; empty for another kind.
    static CString RepeatText(uint32_t kind);

private:
    CString CellText(CScheduledRecording* record, int column) const;

    CFont m_font;
    CFont m_bold;
};
