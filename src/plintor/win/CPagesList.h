// The page list on the left of the configurator: owner-drawn rows of 36 pixels with the page's
// icon and bold title; a selection change tells the callback which page to show.
#pragma once

#include <windows.h>

#include "framework/win/CFont.h"
#include "framework/win/CListCtrl.h"

class CConfigPages;
class CPagesListCallback;

class CPagesList : public CListCtrl {
public:
    static const int kRowHeight = 36;
    static const COLORREF kRowColour = RGB(255, 255, 255);
    static const COLORREF kSelectedColour = RGB(166, 202, 240);

    // The items' data are CConfigPageItem pointers of pages; selections go to callback.
    void Initialise(CConfigPages* pages, CPagesListCallback* callback);

    void DrawItem(DRAWITEMSTRUCT* draw) override;
    void MeasureItem(MEASUREITEMSTRUCT* measure) override { measure->itemHeight = kRowHeight; }

protected:
    void OnItemChanged(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    CFont m_font;
    int m_lastSelection = -1;
    CPagesListCallback* m_callback = nullptr;
};
