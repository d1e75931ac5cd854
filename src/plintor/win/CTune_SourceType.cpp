#include "plintor/win/CTune_SourceType.h"

#include "dvb/libBDA/CBDADeviceList.h"
#include "plintor/ManualEntry.h"
#include "plintor/win/LoadUiString.h"
#include "plintor/win/PageFont.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CTune_SourceType, CBaseTuneDialog)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_SOURCE_TYPE_LIST, OnItemChanged)
END_MESSAGE_MAP()

CTune_SourceType::CTune_SourceType(CTuneWizardInterface* wizard)
    : CBaseTuneDialog(IDD_TUNE_SOURCE_TYPE, 1, wizard)
{
}

void CTune_SourceType::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_SOURCE_TYPE_LIST, m_list);
    DDX_Control(dx, IDC_SOURCE_TYPE_TEXT, m_text);
    DDX_Control(dx, IDC_SOURCE_TYPE_TITLE, m_title);
}

BOOL CTune_SourceType::OnInitDialog()
{
    CBaseTuneDialog::OnInitDialog();
    CreateBoldTahoma(m_titleFont, 8, DEFAULT_QUALITY);
    m_title.SetFont(m_titleFont);
    m_list.Initialise(&m_items);
    // One column as wide as the list, without a horizontal scroll bar.
    CRect client;
    m_list.GetClientRect(&client);
    m_list.InsertColumn(0, L"", LVCFMT_LEFT, client.Width() - ::GetSystemMetrics(SM_CXVSCROLL));
    return TRUE;
}

void CTune_SourceType::OnMeasureItem(int id, MEASUREITEMSTRUCT* measure)
{
    if (id == IDC_SOURCE_TYPE_LIST)
        measure->itemHeight = CSourceTypeList::kRowHeight;
}

std::vector<CSourceTypeItem> CTune_SourceType::BuildItems(const bool present[5])
{
    struct Row {
        int type;
        UINT title, description, picture;
        int tuningType; // 0: always available
    };
    static const Row kRows[] = {
        {plintor::kSourceSatellite, IDS_TYPE_SATELLITE, IDS_TYPE_SATELLITE_TEXT, IDB_TYPE_SATELLITE, 3},
        {plintor::kSourceTerrestrial, IDS_TYPE_TERRESTRIAL, IDS_TYPE_TERRESTRIAL_TEXT, IDB_TYPE_TERRESTRIAL, 1},
        {plintor::kSourceCable, IDS_TYPE_CABLE, IDS_TYPE_CABLE_TEXT, IDB_TYPE_CABLE, 2},
        {plintor::kSourceNetwork, IDS_TYPE_NETWORK, IDS_TYPE_NETWORK_TEXT, 0, 0},
    };
    std::vector<CSourceTypeItem> items;
    for (const Row& row : kRows) {
        CSourceTypeItem item;
        item.title = LoadUiString(row.title);
        item.description = LoadUiString(row.description);
        item.picture = row.picture;
        item.sourceType = row.type;
        item.available = row.tuningType == 0 || present[row.tuningType];
        items.push_back(item);
    }
    return items;
}

int CTune_SourceType::Activate()
{
    bool present[5] = {};
    libBDA::CBDADeviceList& devices = libBDA::GetBDADeviceList();
    for (size_t i = 0; i < devices.GetCount(); ++i) {
        const uint32_t type = devices.GetEntry(i)->GetNetworkType();
        if (type >= 1 && type <= 4)
            present[type] = true;
    }
    m_items = BuildItems(present);
    m_list.DeleteAllItems();
    int firstAvailable = -1;
    for (size_t i = 0; i < m_items.size(); ++i) {
        const int row = m_list.InsertItem(static_cast<int>(i), m_items[i].title);
        m_list.SetItemData(row, i);
        if (firstAvailable < 0 && m_items[i].available)
            firstAvailable = row;
    }
    if (firstAvailable >= 0)
        m_list.SetItemState(firstAvailable, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_text.SetWindowText(LoadUiString(IDS_SOURCE_TYPE_TEXT));
    m_title.SetWindowText(LoadUiString(IDS_SOURCE_TYPE_TITLE));
    return 0;
}

void CTune_SourceType::OnItemChanged(NMHDR* header, LRESULT* result)
{
    auto* change = reinterpret_cast<NMLISTVIEW*>(header);
    *result = 0;
    if (change->iItem < 0 || !(change->uNewState & LVIS_FOCUSED) || (change->uOldState & LVIS_FOCUSED))
        return;
    const size_t index = m_list.GetItemData(change->iItem);
    if (index < m_items.size())
        m_wizard->SetNextButton(m_items[index].available, CString());
}

void CTune_SourceType::OnNext()
{
    const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0)
        return;
    const size_t index = m_list.GetItemData(row);
    if (index >= m_items.size() || !m_items[index].available)
        return;
    m_wizard->SetSourceType(m_items[index].sourceType);
    m_wizard->GoToState(1, 2);
}
