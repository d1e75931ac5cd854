// The channel editor's list: owner-drawn report rows of 23 pixels with the channel's number, its
// name and logo, its capability marks and its favourite mark; several rows can be selected.
#pragma once

#include <windows.h>

#include "dvb/DVBPlaybackCore/CQORService.h"
#include "framework/win/CBitmap.h"
#include "framework/win/CFont.h"
#include "framework/win/CListCtrl.h"

class CChannelList : public CListCtrl {
public:
    static const COLORREF kSelectedColour = 0xF0CAA6;
    static const COLORREF kNewColour = 0xF0F0F0;
    static const COLORREF kRowColour = 0xFFFFFF;
    static const COLORREF kScrambledColour = 0x0000C0;
    static const COLORREF kMarkColour = 0x999999;
    enum Column { kNumber, kName, kCapabilities, kFavourite };

    // Fonts, the favourite marks and the four columns (headings set by SetHeadings).
    void Initialise();
    void SetHeadings();
    void SetRadio(bool radio) { m_radio = radio; }

    void DrawItem(DRAWITEMSTRUCT* draw) override;
    void DrawSubItem(DRAWITEMSTRUCT* draw, int column, const RECT& cell) override;

private:
    CFont m_font;
    CFont m_bold;
    CBitmap m_marks; // two 13 x 13 frames: favourite, not a favourite
    bool m_radio = false;
    COLORREF m_background = kRowColour;
};
