// The progress step's channel list: rows carry their channel record; a row's check box (drawn
// from the bitmap, ticked or not after the row's state image) is shown for channels of a known
// kind; scrambled ones are written in red. A click on the box toggles it.
#pragma once

#include "framework/win/CBitmap.h"
#include "framework/win/CListCtrl.h"

class CChannels : public CListCtrl {
public:
    void Initialise();
    void DrawItem(DRAWITEMSTRUCT* draw) override;
    bool IsTicked(int row) const { return (GetItemState(row, LVIS_STATEIMAGEMASK) >> 12) == 2; }
    void SetTicked(int row, bool ticked)
    {
        SetItemState(row, INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1), LVIS_STATEIMAGEMASK);
    }

protected:
    void OnClick(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    CBitmap m_check;
};
