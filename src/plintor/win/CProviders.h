// The progress step's provider list: one column and one row per provider name of the channels
// found, the newest row at the top; the channels without a provider share the "Unknown" row.
#pragma once

#include <string>

#include "dvb/DVBPlaybackCore/CQORService.h"
#include "framework/win/CListCtrl.h"

class CProviders : public CListCtrl {
public:
    // Full-row selection and the one column, 135 pixels wide.
    void Initialise();
    // The row of a found channel's provider (`unknown` without one), inserted at the top unless a
    // row has that text already (the list's string search, which ignores case as the channel
    // filing does).
    void AddChannel(const DVBPlaybackCore::CQORService& channel, const std::u16string& unknown);
    // The selected row's text; empty without a selection.
    std::u16string SelectedRow() const;
};
