// The favourites page: the favourites in their order, searched by a phrase, moved and removed
// from the favourites (the channels stay).
#pragma once

#include "plintor/win/CChannelListBox.h"
#include "plintor/win/CChannelPage.h"

class CPage_Favourites : public CChannelPage {
public:
    explicit CPage_Favourites(DVBPlaybackCore::CServices& services);

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    CListCtrl& List() override { return m_list; }
    HRESULT GetChannels(DVBPlaybackCore::CServices::ServiceArray& out, bool onlyIfChanged) override;
    // The whole search text, spaces included, occurs in the name.
    bool Matches(const std::wstring& name, const std::wstring& search) const override
    {
        return name.find(search) != std::wstring::npos;
    }
    plintor::NumberKind Kind() const override { return plintor::NumberKind::kFavourite; }
    void Remove() override;

private:
    CChannelListBox m_list;
};
