#include "plintor/win/CTune_Devices.h"

#include "dvb/libBDA/CBDADeviceList.h"
#include "plintor/win/CBDAScanSource.h"
#include "plintor/ManualEntry.h"
#include "plintor/win/LoadUiString.h"
#include "plintor/win/PageFont.h"
#include "resource.h"

static_assert(IDD_TUNE_DEVICES == 104, "the step's template");

void CTune_Devices::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_DEVICE_LIST, m_list);
    DDX_Control(dx, IDC_DEVICE_TEXT, m_text);
}

BOOL CTune_Devices::OnInitDialog()
{
    CBaseTuneDialog::OnInitDialog();
    CreateBoldTahoma(m_textFont, 8, DEFAULT_QUALITY);
    m_text.SetFont(m_textFont);
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    // One column as wide as the list, without a horizontal scroll bar.
    CRect client;
    m_list.GetClientRect(&client);
    m_list.InsertColumn(0, L"", LVCFMT_LEFT, client.Width() - ::GetSystemMetrics(SM_CXVSCROLL));
    return TRUE;
}

std::vector<CTune_Devices::Entry> CTune_Devices::EntriesFor(int sourceType)
{
    std::vector<Entry> entries;
    if (sourceType == plintor::kSourceNetwork) {
        entries.push_back({CString(), CString(L"Ethernet - Device")});
        return entries;
    }
    const uint32_t tuningType = plintor::CBDAScanSource::TuningTypeOf(sourceType);
    libBDA::CBDADeviceList& devices = libBDA::GetBDADeviceList();
    for (size_t i = 0; i < devices.GetCount() && tuningType != 0; ++i) {
        libBDA::CBDADeviceEntry* device = devices.GetEntry(i);
        if (device->GetNetworkType() == tuningType)
            entries.push_back({CString(device->GetFriendlyName().c_str()), CString(device->GetName().c_str())});
    }
    return entries;
}

int CTune_Devices::Activate()
{
    m_list.DeleteAllItems();
    int sourceType = 0;
    m_wizard->GetSourceType(&sourceType);
    m_entries = EntriesFor(sourceType);
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const CString& text = m_entries[i].name.IsEmpty() ? CString(L"Ethernet Device") : m_entries[i].name;
        m_list.SetItemData(m_list.InsertItem(static_cast<int>(i), text), i);
    }
    if (!m_entries.empty()) {
        m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        m_wizard->SetNextButton(true, CString());
    }
    m_text.SetWindowText(LoadUiString(IDS_DEVICE_TEXT));
    if (m_entries.size() == 1) {
        m_wizard->SetDevice(m_entries[0].name, 1);
        return 0;
    }
    return 1;
}

void CTune_Devices::OnNext()
{
    const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0 || static_cast<size_t>(row) >= m_entries.size())
        return;
    m_wizard->SetDevice(m_entries[m_list.GetItemData(row)].name, 1);
    m_wizard->GoToState(2, 3);
}
