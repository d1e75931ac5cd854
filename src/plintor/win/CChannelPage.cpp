#include "plintor/win/CChannelPage.h"

#include <algorithm>

#include "plintor/win/LoadUiString.h"
#include "resource.h"

using DVBPlaybackCore::CQORService;
using DVBPlaybackCore::CServices;

namespace {

std::wstring Lowered(const std::wstring& text)
{
    std::wstring lowered = text;
    if (!lowered.empty())
        ::CharLowerBuffW(&lowered[0], static_cast<DWORD>(lowered.size()));
    return lowered;
}

} // namespace

CChannelPage::CChannelPage(UINT templateId, CServices& services, const CControlIds& ids)
    : CDialog(templateId), m_services(services), m_ids(ids)
{
}

BOOL CChannelPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_search.SubclassDlgItem(m_ids.search, this);
    m_up.SubclassDlgItem(m_ids.up, this);
    m_down.SubclassDlgItem(m_ids.down, this);
    m_remove.SubclassDlgItem(m_ids.remove, this);
    CreateTahoma(m_italic, 9, FW_NORMAL, true);
    CreateTahoma(m_normal, 9, FW_NORMAL, false);
    m_search.SetFont(m_normal);
    List().SetExtendedStyle(LVS_EX_FULLROWSELECT);
    OnSearchFocusLost();
    UpdateButtons();
    // The focus stays where it is: in the search field it would take the placeholder away.
    return FALSE;
}

void CChannelPage::OnMeasureItem(int id, MEASUREITEMSTRUCT* measure)
{
    // The list asks while it is being made, before it has its object.
    if (static_cast<UINT>(id) == m_ids.list)
        measure->itemHeight = kRowHeight;
}

void CChannelPage::UpdateTexts()
{
    m_up.SetWindowText(LoadUiString(IDS_UP));
    m_down.SetWindowText(LoadUiString(IDS_DOWN));
    m_remove.SetWindowText(LoadUiString(IDS_REMOVE));
    if (m_placeholder)
        SetSearchText(LoadUiString(IDS_SEARCH_PLACEHOLDER));
    else if (!SearchHasFocus())
        OnSearchFocusLost();
}

void CChannelPage::SetSearchText(const wchar_t* text)
{
    // The change this causes is not the user's typing.
    m_ignoreChange = true;
    m_search.SetWindowText(text);
    m_ignoreChange = false;
}

void CChannelPage::OnSearchFocus()
{
    if (!m_placeholder)
        return;
    SetSearchText(L"");
    m_placeholder = false;
    m_search.SetFont(m_normal);
}

void CChannelPage::OnSearchFocusLost()
{
    if (::GetWindowTextLengthW(m_search.m_hWnd) != 0)
        return;
    m_placeholder = true;
    m_search.SetFont(m_italic);
    SetSearchText(LoadUiString(IDS_SEARCH_PLACEHOLDER));
}

void CChannelPage::Fill(bool force)
{
    CServices::ServiceArray channels;
    if (GetChannels(channels, !force && !m_first) == S_FALSE)
        return;
    m_first = false;
    CListCtrl& list = List();
    list.DeleteAllItems();
    CString text;
    m_search.GetWindowText(text);
    const std::wstring search = Lowered(text.GetString());
    m_filtered = SearchHasFocus() && !m_placeholder && !search.empty();
    int row = 0;
    for (CQORService* channel : channels) {
        const std::u16string name = channel->GetName();
        if (m_filtered && !Matches(Lowered(std::wstring(name.begin(), name.end())), search))
            continue;
        list.InsertItem(row, L"");
        list.SetItemData(row, reinterpret_cast<DWORD_PTR>(channel));
        ++row;
    }
    AfterFill();
    UpdateButtons();
}

std::vector<CQORService*> CChannelPage::Rows() const
{
    CListCtrl& list = const_cast<CChannelPage*>(this)->List();
    std::vector<CQORService*> rows;
    for (int i = 0; i < list.GetItemCount(); ++i)
        rows.push_back(reinterpret_cast<CQORService*>(list.GetItemData(i)));
    return rows;
}

std::vector<int> CChannelPage::SelectedRows() const
{
    CListCtrl& list = const_cast<CChannelPage*>(this)->List();
    std::vector<int> rows;
    for (int i = list.GetNextItem(-1, LVNI_SELECTED); i >= 0; i = list.GetNextItem(i, LVNI_SELECTED))
        rows.push_back(i);
    return rows;
}

void CChannelPage::UpdateButtons()
{
    const int count = List().GetItemCount();
    const int first = List().GetNextItem(-1, LVNI_SELECTED);
    m_up.EnableWindow(!m_filtered && count > 0 && first > 0);
    m_down.EnableWindow(!m_filtered && first >= 0 && first < count - 1);
    m_remove.EnableWindow(first >= 0);
}

void CChannelPage::SelectAfterRemoval(int index)
{
    CListCtrl& list = List();
    const int count = list.GetItemCount();
    list.SetItemState(-1, 0, LVIS_SELECTED);
    if (count > 0) {
        const int row = std::min(index, count - 1);
        list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        list.RedrawItems(row, row);
    }
    UpdateButtons();
}

void CChannelPage::Move(int direction)
{
    if (m_filtered)
        return; // neighbours in a filtered list are not neighbours in the channel list
    std::vector<CQORService*> rows = Rows();
    std::vector<bool> selected(rows.size(), false);
    for (int row : SelectedRows())
        selected[static_cast<size_t>(row)] = true;
    if (plintor::MoveSelectedRows(rows, selected, direction, Kind()) == 0)
        return;
    CListCtrl& list = List();
    for (size_t i = 0; i < rows.size(); ++i) {
        list.SetItemData(static_cast<int>(i), reinterpret_cast<DWORD_PTR>(rows[i]));
        list.SetItemState(static_cast<int>(i), selected[i] ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }
    list.RedrawItems(0, list.GetItemCount() - 1);
    Services().RebuildLists();
    // The page's own copy already shows the new order.
    CServices::ServiceArray ignored;
    GetChannels(ignored, false);
    const std::vector<int> chosen = SelectedRows();
    if (!chosen.empty()) {
        const int edge = direction < 0 ? chosen.front() - 1 : chosen.back() + 1;
        list.EnsureVisible(std::max(0, std::min(edge, list.GetItemCount() - 1)), FALSE);
    }
    UpdateButtons();
}

BOOL CChannelPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (lParam && id == m_ids.search) {
        if (code == EN_SETFOCUS)
            OnSearchFocus();
        else if (code == EN_KILLFOCUS)
            OnSearchFocusLost();
        else if (code == EN_CHANGE && !m_ignoreChange && SearchHasFocus())
            Fill(true);
        return TRUE;
    }
    if (lParam && code == BN_CLICKED) {
        if (id == m_ids.up) {
            Move(-1);
            return TRUE;
        }
        if (id == m_ids.down) {
            Move(1);
            return TRUE;
        }
        if (id == m_ids.remove) {
            Remove();
            return TRUE;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

BOOL CChannelPage::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_NOTIFY) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == m_ids.list && header->code == LVN_ITEMCHANGED) {
            UpdateButtons();
            *result = 0;
            return TRUE;
        }
        if (header->idFrom == m_ids.list && header->code == NM_CLICK)
            OnListClick(reinterpret_cast<const NMITEMACTIVATE*>(lParam));
    } else if (message == WM_SHOWWINDOW) {
        if (wParam)
            Fill(false);
    } else if (message == WM_CTLCOLOREDIT && reinterpret_cast<HWND>(lParam) == m_search.m_hWnd && m_placeholder &&
               !SearchHasFocus()) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, kPlaceholderColour);
        ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
        *result = reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
        return TRUE;
    }
    return CDialog::OnWndMsg(message, wParam, lParam, result);
}

BOOL CChannelPage::PreTranslateMessage(MSG* msg)
{
    const HWND focus = ::GetFocus();
    if (msg->message == WM_KEYDOWN) {
        switch (msg->wParam) {
        case VK_RETURN:
            return TRUE;
        case VK_ESCAPE:
            if (focus == m_search.m_hWnd) {
                m_search.SetWindowText(L"");
                ::SetFocus(List().m_hWnd);
                if (List().GetItemCount() > 0)
                    List().SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            }
            return TRUE;
        case VK_DELETE:
            // Only from the list: in the search field Delete edits the text.
            if (focus == List().m_hWnd) {
                Remove();
                return TRUE;
            }
            break;
        default:
            break;
        }
    } else if (msg->message == WM_CHAR && msg->wParam >= L' ' && msg->hwnd != m_search.m_hWnd) {
        if (focus != m_search.m_hWnd)
            ::SetFocus(m_search.m_hWnd);
        m_search.SendMessage(WM_CHAR, msg->wParam, msg->lParam);
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}
