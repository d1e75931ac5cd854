// The TV and the radio channel editor (one class, by its radio flag): the channels of the list
// in their order, searched by words, moved, removed (asking about their scheduled recordings)
// and made favourites or not by a click in the favourite column.
#pragma once

#include "plintor/win/CChannelList.h"
#include "plintor/win/CChannelPage.h"
#include "plintor/win/ScheduledRecordings.h"

class CPage_ChannelEditor : public CChannelPage {
public:
    // The channels it edits, and the recordings it asks about when a channel is removed.
    CPage_ChannelEditor(DVBPlaybackCore::CServices& services, CScheduledRecordings& recordings, bool radio);

    void Load() override { m_list.SetRadio(m_radio); }
    void UpdateTexts() override;
    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    CListCtrl& List() override { return m_list; }
    HRESULT GetChannels(DVBPlaybackCore::CServices::ServiceArray& out, bool onlyIfChanged) override;
    // Every word of the search text occurs in the name, in any order.
    bool Matches(const std::wstring& name, const std::wstring& search) const override;
    plintor::NumberKind Kind() const override { return plintor::NumberKind::kChannel; }
    void Remove() override;
    void AfterFill() override;
    void OnListClick(const NMITEMACTIVATE* click) override;

private:
    // Marks the channel's recordings deleted, after asking; false when the user said No.
    bool DropRecordings(const DVBPlaybackCore::CQORService* channel);

    CScheduledRecordings& m_recordings;
    CChannelList m_list;
    bool m_radio;
};
