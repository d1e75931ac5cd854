// The source-type step's list: rows of 40 pixels with the kind's picture, its bold title and its
// description; a separator under every row but the last (unless selected) and the red "N/A" mark
// on a kind no installed tuner receives.
#pragma once

#include <memory>
#include <vector>

#include "framework/win/CBitmap.h"
#include "framework/win/CFont.h"
#include "framework/win/CListCtrl.h"
#include "plintor/win/CSourceTypeItem.h"

class CSourceTypeList : public CListCtrl {
public:
    static const int kRowHeight = 40;

    // Loads the fonts and the marks; the rows' item data index `items`, which outlives the list.
    void Initialise(const std::vector<CSourceTypeItem>* items);
    void DrawItem(DRAWITEMSTRUCT* draw) override;
    void MeasureItem(MEASUREITEMSTRUCT* measure) override { measure->itemHeight = kRowHeight; }

private:
    // A row's bitmap; drawn by its alpha when it is 32-bit, else with its transparent colour when
    // it has one (our own resources all carry alpha), else copied.
    struct CImage {
        CBitmap bitmap;
        COLORREF transparent = CLR_INVALID;
        void Draw(HDC dc, int x, int y) const;
    };

    const std::vector<CSourceTypeItem>* m_items = nullptr;
    CFont m_titleFont;
    CFont m_textFont;
    CImage m_separator;
    CImage m_notAvailable;
    std::vector<std::unique_ptr<CImage>> m_pictures; // by item index, loaded when first drawn
};
