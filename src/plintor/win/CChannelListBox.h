// The favourites page's list: one column of owner-drawn rows 23 pixels high, each with the
// favourite's number on a light strip, its name and its logo.
#pragma once

#include <windows.h>

#include "framework/win/CFont.h"
#include "framework/win/CListCtrl.h"

class CChannelListBox : public CListCtrl {
public:
    static const COLORREF kStripColour = 0xF9F9F9;
    static const COLORREF kSelectedColour = 0xF0CAA6;
    static const COLORREF kRowColour = 0xFFFFFF;
    static const int kStripWidth = 25;

    void Initialise();
    void DrawItem(DRAWITEMSTRUCT* draw) override;

private:
    CFont m_font;
    CFont m_bold;
};
