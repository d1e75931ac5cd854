#include <winsock2.h>

#include "plintor/win/CTune_TransponderList.h"

#include "dvb/libDVB_EthernetDevice/win/CSAPParser.h"

#include <string>

#include "dvb/libBDA/BDALocators.h"
#include "plintor/CTransponderScan.h"
#include "plintor/ManualEntry.h"
#include "plintor/win/LoadUiString.h"
#include "plintor/win/PageFont.h"
#include "resource.h"

using libDVB_EthernetDevice::CTuneSpaceItem;

namespace {

std::u16string ToU16(const CString& text)
{
    const wchar_t* s = text.GetString();
    return std::u16string(s, s + text.GetLength());
}

} // namespace

BEGIN_MESSAGE_MAP(CTune_TransponderList, CBaseTuneDialog)
    ON_BN_CLICKED(IDC_TUNE_BY_NETWORK, OnByNetwork)
    ON_BN_CLICKED(IDC_TUNE_MANUAL, OnManual)
    ON_CBN_SELCHANGE(IDC_TUNE_NETWORKS, Revalidate)
    ON_CBN_SELCHANGE(IDC_TUNE_DISEQC, Revalidate)
    ON_EN_CHANGE(IDC_TUNE_FIELD1, Revalidate)
    ON_EN_CHANGE(IDC_TUNE_FIELD2, Revalidate)
    ON_EN_CHANGE(IDC_TUNE_FIELD3, Revalidate)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CTune_TransponderList::CTune_TransponderList(CTuneWizardInterface* wizard)
    : CBaseTuneDialog(IDD_TUNE_TRANSPONDERS, 3, wizard), m_reader(L"satellites.xml")
{
}

CTune_TransponderList::~CTune_TransponderList()
{
    // The listener reports to this step: it goes first.
    m_sap.reset();
}

void CTune_TransponderList::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_TUNE_BY_NETWORK, m_byNetwork);
    DDX_Control(dx, IDC_TUNE_MANUAL, m_manual);
    DDX_Control(dx, IDC_TUNE_NETWORKS, m_networks);
    DDX_Control(dx, IDC_TUNE_DISEQC, m_diseqc);
    DDX_Control(dx, IDC_TUNE_TEXT, m_text);
    DDX_Control(dx, IDC_TUNE_UPDATED, m_updated);
}

BOOL CTune_TransponderList::OnInitDialog()
{
    CBaseTuneDialog::OnInitDialog();
    CreateBoldTahoma(m_boldFont, 8, DEFAULT_QUALITY);
    m_text.SetFont(m_boldFont);
    m_updated.SetFont(m_boldFont);
    m_sap = std::make_unique<libDVB_EthernetDevice::CSAPParser>(this);
    return TRUE;
}

int CTune_TransponderList::SourceType() const
{
    int type = 0;
    m_wizard->GetSourceType(&type);
    return type;
}

CString CTune_TransponderList::Field(int id) const
{
    CString text;
    if (CWnd* field = GetDlgItem(id))
        field->GetWindowText(text);
    return text;
}

void CTune_TransponderList::ShowField(int label, int field, int unit, UINT labelText, UINT unitText, bool shown)
{
    const int command = shown ? SW_SHOW : SW_HIDE;
    for (int id : {label, field, unit}) {
        if (CWnd* control = GetDlgItem(id))
            control->ShowWindow(command);
    }
    SetDlgItemText(label, labelText ? LoadUiString(labelText).GetString() : L"");
    SetDlgItemText(unit, unitText ? LoadUiString(unitText).GetString() : L"");
}

int CTune_TransponderList::Activate()
{
    const int type = SourceType();
    m_networks.ResetContent();
    m_items.clear();
    const std::vector<uint16_t> announcements = m_sap ? m_sap->GetAnnouncementIds() : std::vector<uint16_t>();
    m_byNetwork.SetWindowText(LoadUiString(IDS_SELECT_NETWORK));
    m_manual.SetWindowText(LoadUiString(IDS_SELECT_MANUALLY));
    if (type >= plintor::kSourceCable && type <= plintor::kSourceATSC) {
        for (ITuningSpace* space : m_reader.GetNetworks(type)) {
            BSTR name = nullptr;
            space->get_UniqueName(&name);
            CString text = name ? name : L"";
            ::SysFreeString(name);
            m_items.push_back(std::make_unique<CTuneSpaceItem>(text, space));
        }
        const bool satellite = type == plintor::kSourceSatellite;
        ShowField(IDC_TUNE_LABEL1, IDC_TUNE_FIELD1, IDC_TUNE_UNIT1, IDS_FREQUENCY, IDS_MHZ, true);
        if (type == plintor::kSourceTerrestrial)
            ShowField(IDC_TUNE_LABEL2, IDC_TUNE_FIELD2, IDC_TUNE_UNIT2, IDS_BANDWIDTH, IDS_MHZ, true);
        else if (type == plintor::kSourceATSC)
            ShowField(IDC_TUNE_LABEL2, IDC_TUNE_FIELD2, IDC_TUNE_UNIT2, IDS_CHANNEL, 0, true);
        else
            ShowField(IDC_TUNE_LABEL2, IDC_TUNE_FIELD2, IDC_TUNE_UNIT2, IDS_SYMBOL_RATE, IDS_MSPS, true);
        ShowField(IDC_TUNE_LABEL3, IDC_TUNE_FIELD3, IDC_TUNE_UNIT3, IDS_POLARISATION, IDS_HV, satellite);
        GetDlgItem(IDC_TUNE_DISEQC)->ShowWindow(satellite ? SW_SHOW : SW_HIDE);
        GetDlgItem(IDC_TUNE_DISEQC_LABEL)->ShowWindow(satellite ? SW_SHOW : SW_HIDE);
    } else if (type == plintor::kSourceNetwork) {
        for (uint16_t id : announcements) {
            std::unique_ptr<libDVB_EthernetDevice::CNetworkAnnouncement> announcement = m_sap->GetAnnouncement(id);
            if (!announcement)
                continue;
            CString name(reinterpret_cast<const wchar_t*>(announcement->name.c_str()));
            m_items.push_back(std::make_unique<CTuneSpaceItem>(name, announcement->address, announcement->port, 1));
        }
        if (m_items.size() >= 2) {
            m_items.push_back(std::make_unique<CTuneSpaceItem>(CString(L"--------------"), 0u, 0, 0));
            m_items.push_back(std::make_unique<CTuneSpaceItem>(LoadUiString(IDS_ALL_SOURCES), 0u, 0, 1));
        }
        ShowField(IDC_TUNE_LABEL1, IDC_TUNE_FIELD1, IDC_TUNE_UNIT1, IDS_IP, 0, true);
        ShowField(IDC_TUNE_LABEL2, IDC_TUNE_FIELD2, IDC_TUNE_UNIT2, IDS_PORT, 0, true);
        ShowField(IDC_TUNE_LABEL3, IDC_TUNE_FIELD3, IDC_TUNE_UNIT3, 0, 0, false);
        GetDlgItem(IDC_TUNE_DISEQC)->ShowWindow(SW_HIDE);
        GetDlgItem(IDC_TUNE_DISEQC_LABEL)->ShowWindow(SW_HIDE);
    }
    const size_t sources = type == plintor::kSourceNetwork && m_items.size() >= 2 ? m_items.size() - 2 : 0;
    for (size_t i = 0; i < m_items.size(); ++i) {
        CString text = m_items[i]->m_name;
        if (type == plintor::kSourceNetwork && (i < sources || m_items.size() == 1))
            text += LoadUiString(IDS_MULTICAST_SOURCE);
        m_networks.SetItemData(m_networks.AddString(text), reinterpret_cast<DWORD_PTR>(m_items[i].get()));
    }
    const bool hasRows = !m_items.empty();
    m_byNetwork.EnableWindow(hasRows);
    if (!(m_refreshing && IsManual()))
        SetMode(!hasRows);
    // Row 0 is the prompt: the list is not sorted, so it is inserted in front.
    m_networks.SendMessage(CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(LoadUiString(IDS_SELECT).GetString()));
    m_networks.SetItemData(0, 0);
    m_networks.SetCurSel(0);
    if (announcements.size() != m_announcementCount) {
        m_announcementCount = announcements.size();
        m_updated.SetWindowText(LoadUiString(IDS_NETWORKS_UPDATED));
        m_updated.ShowWindow(SW_SHOW);
        SetTimer(kUpdatedTimer, 5000);
    }
    Relabel();
    if (!m_refreshing || IsWindowVisible())
        Revalidate();
    return hasRows ? 1 : 0;
}

void CTune_TransponderList::Relabel()
{
    SetDlgItemText(IDC_TUNE_HEADING, LoadUiString(IDS_TUNE_HEADING));
    m_text.SetWindowText(LoadUiString(IDS_TUNE_TEXT));
    SetDlgItemText(IDC_TUNE_DISEQC_LABEL, LoadUiString(IDS_DISEQC_MODE));
    m_diseqc.ResetContent();
    for (int mode = 0; mode <= 6; ++mode)
        m_diseqc.SetItemData(m_diseqc.AddString(LoadUiString(IDS_DISEQC_FIRST + mode)), static_cast<DWORD_PTR>(mode));
    m_diseqc.SetCurSel(0);
}

void CTune_TransponderList::SetMode(bool manual)
{
    m_byNetwork.SetCheck(manual ? BST_UNCHECKED : BST_CHECKED);
    m_manual.SetCheck(manual ? BST_CHECKED : BST_UNCHECKED);
    m_networks.EnableWindow(!manual);
    for (int id : {IDC_TUNE_FIELD1, IDC_TUNE_FIELD2, IDC_TUNE_FIELD3, IDC_TUNE_LABEL1, IDC_TUNE_LABEL2, IDC_TUNE_LABEL3,
                   IDC_TUNE_UNIT1, IDC_TUNE_UNIT2, IDC_TUNE_UNIT3, IDC_TUNE_DISEQC, IDC_TUNE_DISEQC_LABEL}) {
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(manual);
    }
}

void CTune_TransponderList::OnByNetwork()
{
    for (int id : {IDC_TUNE_FIELD1, IDC_TUNE_FIELD2, IDC_TUNE_FIELD3})
        GetDlgItem(id)->SendMessage(WM_CLEAR);
    SetMode(false);
    Revalidate();
}

void CTune_TransponderList::OnManual()
{
    m_networks.SetCurSel(0);
    SetMode(true);
    Revalidate();
}

bool CTune_TransponderList::IsValid() const
{
    const int type = SourceType();
    if (IsManual()) {
        return plintor::IsManualEntryValid(type, ToU16(Field(IDC_TUNE_FIELD1)), ToU16(Field(IDC_TUNE_FIELD2)),
                                           ToU16(Field(IDC_TUNE_FIELD3)));
    }
    const int row = m_networks.GetCurSel();
    if (row <= 0)
        return false;
    // The separator before "All sources" cannot be taken.
    return !(type == plintor::kSourceNetwork && m_items.size() >= 2 && row == m_networks.GetCount() - 2);
}

void CTune_TransponderList::Revalidate() { m_wizard->SetNextButton(IsValid(), CString()); }

void CTune_TransponderList::OnTimer(UINT_PTR id)
{
    if (id != kUpdatedTimer)
        return;
    m_updated.ShowWindow(SW_HIDE);
    KillTimer(kUpdatedTimer);
}

void CTune_TransponderList::OnAnnouncementsChanged()
{
    if (SourceType() != plintor::kSourceNetwork || !m_hWnd)
        return;
    m_refreshing = true;
    Activate();
    m_refreshing = false;
}

void CTune_TransponderList::OnNext()
{
    if (!IsValid())
        return;
    const int type = SourceType();
    CString first = Field(IDC_TUNE_FIELD1);
    first.Replace(L',', L'.');
    const std::u16string second = ToU16(Field(IDC_TUNE_FIELD2));
    const CString third = Field(IDC_TUNE_FIELD3);
    CTuneList list;
    const int row = m_networks.GetCurSel();
    auto* item = row > 0 ? reinterpret_cast<CTuneSpaceItem*>(m_networks.GetItemData(row)) : nullptr;
    if (type >= plintor::kSourceCable && type <= plintor::kSourceATSC) {
        const int selected = m_diseqc.GetCurSel();
        const uint32_t mode = selected >= 0 ? static_cast<uint32_t>(m_diseqc.GetItemData(selected)) : 0;
        if (!IsManual() && item) {
            item->m_diseqcMode = mode;
            m_wizard->SetNetwork(item->m_name, reinterpret_cast<intptr_t>(item->m_space), mode);
            std::vector<ILocator*> locators;
            m_reader.GetTransponders(item->m_space, &locators);
            for (ILocator* locator : locators) {
                list.AddLocator(locator);
                locator->Release();
            }
        } else {
            m_wizard->SetNetwork(CString(L"Custom"), 0, mode);
            int32_t frequency = 0;
            int32_t value = 0;
            plintor::ReadFrequencyKHz(ToU16(first), &frequency);
            plintor::ReadWholeNumber(second, &value);
            ILocator* locator = nullptr;
            if (type == plintor::kSourceCable) {
                locator = libBDA::CreateDVBCLocator(frequency, value);
            } else if (type == plintor::kSourceTerrestrial) {
                locator = libBDA::CreateDVBTLocator(frequency, value);
            } else if (type == plintor::kSourceSatellite) {
                const bool horizontal = third == L"h" || third == L"H";
                locator = libBDA::CreateDVBSLocator(frequency, value,
                                                    horizontal ? BDA_POLARISATION_LINEAR_H : BDA_POLARISATION_LINEAR_V);
            } else {
                // A physical channel, when given, takes the frequency's place.
                locator = value != 0 ? libBDA::CreateATSCLocator(0, value) : libBDA::CreateATSCLocator(frequency, 0);
            }
            if (locator) {
                list.AddLocator(locator);
                locator->Release();
            }
        }
    } else if (type == plintor::kSourceNetwork) {
        if (!IsManual() && item) {
            m_wizard->SetNetwork(item->m_name, 0, 0);
            if (item->GetTuningValue() == 1) {
                for (int i = 1; i < m_networks.GetCount() - 2; ++i)
                    list.AddMulticast(reinterpret_cast<CTuneSpaceItem*>(m_networks.GetItemData(i))->GetTuningValue());
            } else {
                list.AddMulticast(item->GetTuningValue());
            }
        } else {
            uint8_t address[4] = {};
            int32_t port = 0;
            plintor::ReadIPv4(ToU16(Field(IDC_TUNE_FIELD1)), address);
            plintor::ReadWholeNumber(second, &port);
            list.AddMulticast(plintor::PackMulticastEntry(address, static_cast<uint16_t>(port)) | 1);
            CString name;
            name.Format(L"%d.%d.%d.%d:%d", address[0], address[1], address[2], address[3], port);
            m_wizard->SetNetwork(name, 0, 0);
        }
    }
    m_wizard->SetTuneList(list);
    m_wizard->GoToState(3, 7);
}
