// A date-time picker of a dialog (a date or, with DTS_TIMEFORMAT, a time of day).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/win/CWnd.h"

class CDateTimeCtrl : public CWnd {
public:
    // GDT_VALID with the picked time, GDT_NONE when a DTS_SHOWNONE box is unchecked.
    DWORD GetTime(SYSTEMTIME* time) const
    {
        return static_cast<DWORD>(::SendMessageW(m_hWnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(time)));
    }
    BOOL SetTime(const SYSTEMTIME& time)
    {
        return static_cast<BOOL>(SendMessage(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time)));
    }
    // A custom display format, e.g. the user's time format without seconds.
    BOOL SetFormat(const wchar_t* format)
    {
        return static_cast<BOOL>(SendMessage(DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(format)));
    }
};
