#include "plintor/win/CPage_Scheduler.h"

#include <algorithm>
#include <vector>

#include "plintor/win/CChannelPage.h"
#include "plintor/win/CEventPage.h"
#include "plintor/win/LoadUiString.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CPage_Scheduler, CDialog)
    ON_BN_CLICKED(IDC_SCHEDULER_ADD, OnAdd)
    ON_BN_CLICKED(IDC_SCHEDULER_EDIT, OnEdit)
    ON_BN_CLICKED(IDC_SCHEDULER_REMOVE, OnRemove)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_SCHEDULER_LIST, OnItemChanged)
    ON_MESSAGE(WM_SHOWWINDOW, OnShowWindowMessage)
END_MESSAGE_MAP()

CPage_Scheduler::CPage_Scheduler(DVBPlaybackCore::CServices& services, CScheduledRecordings& recordings)
    : CDialog(IDD_PAGE_SCHEDULER), m_services(services), m_recordings(recordings)
{
}

void CPage_Scheduler::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_SCHEDULER_LIST, m_list);
    DDX_Control(dx, IDC_SCHEDULER_ADD, m_add);
    DDX_Control(dx, IDC_SCHEDULER_EDIT, m_edit);
    DDX_Control(dx, IDC_SCHEDULER_REMOVE, m_remove);
}

void CPage_Scheduler::OnMeasureItem(int id, MEASUREITEMSTRUCT* measure)
{
    if (id == IDC_SCHEDULER_LIST)
        measure->itemHeight = CChannelPage::kRowHeight;
}

BOOL CPage_Scheduler::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    m_list.Initialise();
    UpdateButtons();
    return FALSE;
}

void CPage_Scheduler::UpdateTexts()
{
    m_add.SetWindowText(LoadUiString(IDS_ADD));
    m_edit.SetWindowText(LoadUiString(IDS_EDIT));
    m_remove.SetWindowText(LoadUiString(IDS_SCHEDULER_REMOVE));
    m_list.SetHeadings();
}

LRESULT CPage_Scheduler::OnShowWindowMessage(WPARAM shown, LPARAM)
{
    if (shown)
        Fill();
    return Default();
}

void CPage_Scheduler::Fill()
{
    m_list.DeleteAllItems();
    for (auto& record : m_recordings) {
        if (!record->deleted)
            m_list.AddRecord(record.get());
    }
    UpdateButtons();
}

void CPage_Scheduler::UpdateButtons()
{
    const bool selected = m_list.GetItemCount() > 0 && m_list.GetNextItem(-1, LVNI_SELECTED) >= 0;
    m_edit.EnableWindow(selected);
    m_remove.EnableWindow(selected);
}

void CPage_Scheduler::OnItemChanged(NMHDR*, LRESULT* result)
{
    *result = 0;
    UpdateButtons();
}

void CPage_Scheduler::OnAdd()
{
    CEventPage dialog(m_services, m_recordings, nullptr);
    if (dialog.DoModal(this) == IDOK) {
        if (std::unique_ptr<CScheduledRecording> record = dialog.TakeCreated())
            m_recordings.push_back(std::move(record));
    }
    Fill();
}

void CPage_Scheduler::OnEdit()
{
    const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    auto* record = row >= 0 ? reinterpret_cast<CScheduledRecording*>(m_list.GetItemData(row)) : nullptr;
    if (!record)
        return;
    CEventPage dialog(m_services, m_recordings, record);
    if (dialog.DoModal(this) == IDOK)
        Fill();
}

void CPage_Scheduler::OnRemove()
{
    std::vector<int> selected;
    for (int i = m_list.GetNextItem(-1, LVNI_SELECTED); i >= 0; i = m_list.GetNextItem(i, LVNI_SELECTED))
        selected.push_back(i);
    if (selected.empty())
        return;
    for (auto row = selected.rbegin(); row != selected.rend(); ++row) {
        reinterpret_cast<CScheduledRecording*>(m_list.GetItemData(*row))->deleted = true;
        m_list.DeleteItem(*row);
    }
    const int count = m_list.GetItemCount();
    if (count > 0) {
        const int row = std::min(selected.front(), count - 1);
        m_list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    UpdateButtons();
}

BOOL CPage_Scheduler::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_DELETE && ::GetFocus() == m_list.m_hWnd) {
        OnRemove();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}
