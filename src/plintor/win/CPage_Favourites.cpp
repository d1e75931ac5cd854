#include "plintor/win/CPage_Favourites.h"

#include "resource.h"

using DVBPlaybackCore::CQORService;
using DVBPlaybackCore::CServices;

CPage_Favourites::CPage_Favourites(CServices& services)
    : CChannelPage(IDD_PAGE_FAVOURITES, services,
                   {IDC_FAVOURITE_LIST, IDC_FAVOURITE_SEARCH, IDC_FAVOURITE_UP, IDC_FAVOURITE_DOWN,
                    IDC_FAVOURITE_REMOVE})
{
}

void CPage_Favourites::DoDataExchange(CDataExchange* dx) { DDX_Control(dx, IDC_FAVOURITE_LIST, m_list); }

BOOL CPage_Favourites::OnInitDialog()
{
    CChannelPage::OnInitDialog();
    m_list.Initialise();
    return FALSE;
}

HRESULT CPage_Favourites::GetChannels(CServices::ServiceArray& out, bool onlyIfChanged)
{
    return Services().GetFavouriteServices(out, onlyIfChanged, m_version);
}

void CPage_Favourites::Remove()
{
    const std::vector<int> selected = SelectedRows();
    if (selected.empty())
        return;
    CServices& services = Services();
    for (auto row = selected.rbegin(); row != selected.rend(); ++row) {
        auto* channel = reinterpret_cast<CQORService*>(m_list.GetItemData(*row));
        m_list.DeleteItem(*row);
        // Numbers the remaining favourites 0..n-1 again.
        plintor::SetFavourite(services, channel, false);
    }
    CServices::ServiceArray ignored;
    GetChannels(ignored, false);
    m_list.RedrawItems(0, m_list.GetItemCount() - 1);
    SelectAfterRemoval(selected.front());
}
