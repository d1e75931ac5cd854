#include "plintor/win/CPage_ChannelEditor.h"

#include "plintor/win/LoadUiString.h"
#include "resource.h"

using DVBPlaybackCore::CQORService;
using DVBPlaybackCore::CServices;

CPage_ChannelEditor::CPage_ChannelEditor(CServices& services, CScheduledRecordings& recordings, bool radio)
    : CChannelPage(IDD_PAGE_CHANNELS, services,
                   {IDC_CHANNEL_LIST, IDC_CHANNEL_SEARCH, IDC_CHANNEL_UP, IDC_CHANNEL_DOWN, IDC_CHANNEL_REMOVE}),
      m_recordings(recordings), m_radio(radio)
{
}

void CPage_ChannelEditor::DoDataExchange(CDataExchange* dx) { DDX_Control(dx, IDC_CHANNEL_LIST, m_list); }

BOOL CPage_ChannelEditor::OnInitDialog()
{
    CChannelPage::OnInitDialog();
    m_list.Initialise();
    return FALSE;
}

void CPage_ChannelEditor::UpdateTexts()
{
    CChannelPage::UpdateTexts();
    m_list.SetHeadings();
}

HRESULT CPage_ChannelEditor::GetChannels(CServices::ServiceArray& out, bool onlyIfChanged)
{
    return m_radio ? Services().GetRadioServices(out, onlyIfChanged, m_version)
                   : Services().GetTVServices(out, onlyIfChanged, m_version);
}

bool CPage_ChannelEditor::Matches(const std::wstring& name, const std::wstring& search) const
{
    size_t begin = 0;
    while (begin <= search.size()) {
        size_t end = search.find(L' ', begin);
        if (end == std::wstring::npos)
            end = search.size();
        if (end > begin && name.find(search.substr(begin, end - begin)) == std::wstring::npos)
            return false;
        begin = end + 1;
    }
    return true;
}

void CPage_ChannelEditor::AfterFill()
{
    // The channels the last scan found are brought into view.
    const std::vector<CQORService*> rows = Rows();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i]->GetNew()) {
            m_list.EnsureVisible(static_cast<int>(i), FALSE);
            break;
        }
    }
}

bool CPage_ChannelEditor::DropRecordings(const CQORService* channel)
{
    std::vector<CScheduledRecording*> matching;
    for (const auto& record : m_recordings) {
        if (!record->deleted && record->task.GetTransportStreamId() == channel->GetTransportStreamId() &&
            record->task.GetServiceId() == channel->GetServiceId())
            matching.push_back(record.get());
    }
    if (matching.empty())
        return true;
    const std::u16string name = channel->GetName();
    CString text;
    text.Format(LoadUiString(IDS_RECORDING_OF_CHANNEL), reinterpret_cast<const wchar_t*>(name.c_str()));
    HWND owner = ::GetAncestor(m_hWnd, GA_ROOT);
    if (::MessageBoxW(owner, text, LoadUiString(IDS_NOTICE), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    for (CScheduledRecording* record : matching)
        record->deleted = true;
    return true;
}

void CPage_ChannelEditor::Remove()
{
    const std::vector<int> selected = SelectedRows();
    if (selected.empty())
        return;
    CServices& services = Services();
    bool favouriteRemoved = false;
    for (auto row = selected.rbegin(); row != selected.rend(); ++row) {
        auto* channel = reinterpret_cast<CQORService*>(m_list.GetItemData(*row));
        // No keeps this channel and the ones above it; those already removed stay removed.
        if (!DropRecordings(channel))
            break;
        favouriteRemoved |= channel->GetFavouriteNumber() >= 0;
        services.RemoveService(channel);
        m_list.DeleteItem(*row);
        delete channel;
    }
    // Numbers follow the positions again, also after a No: a gap would give two channels one
    // number at the next move.
    CServices::ServiceArray channels;
    uint64_t version = 0;
    if (m_radio)
        services.GetRadioServices(channels, false, version);
    else
        services.GetTVServices(channels, false, version);
    plintor::Renumber(channels, plintor::NumberKind::kChannel);
    if (favouriteRemoved)
        plintor::RenumberFavourites(services);
    else
        services.RebuildLists();
    CServices::ServiceArray ignored;
    GetChannels(ignored, false);
    m_list.RedrawItems(0, m_list.GetItemCount() - 1);
    SelectAfterRemoval(selected.front());
}

void CPage_ChannelEditor::OnListClick(const NMITEMACTIVATE* click)
{
    LVHITTESTINFO hit = {};
    hit.pt = click->ptAction;
    if (m_list.SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0 ||
        hit.iSubItem != CChannelList::kFavourite)
        return;
    auto* channel = reinterpret_cast<CQORService*>(m_list.GetItemData(hit.iItem));
    if (!channel)
        return;
    plintor::SetFavourite(Services(), channel, channel->GetFavouriteNumber() < 0);
    m_list.RedrawItems(hit.iItem, hit.iItem);
}
