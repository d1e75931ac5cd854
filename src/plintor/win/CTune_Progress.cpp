#include "plintor/win/CTune_Progress.h"

#include <objbase.h>

#include <algorithm>

#include "dvb/DVBPlaybackCore/TextCase.h"
#include "dvb/DVBPlaybackCore/win/ProgramFolder.h"
#include "plintor/ManualEntry.h"
#include "plintor/ProviderGroups.h"
#include "plintor/ScanRun.h"
#include "plintor/win/CBDAScanSource.h"
#include "plintor/win/CMulticastScanSource.h"
#include "plintor/win/LoadUiString.h"
#include "plintor/win/PageFont.h"
#include "resource.h"

using DVBPlaybackCore::CQORService;

namespace {

std::u16string ToU16(const CString& text)
{
    const wchar_t* s = text.GetString();
    return std::u16string(s, s + text.GetLength());
}

std::vector<std::u16string> ListLogos()
{
    std::vector<std::u16string> logos;
    const std::u16string folder = DVBPlaybackCore::ProgramFolder() + u"\\Resources\\tv_logos\\";
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW(reinterpret_cast<const wchar_t*>((folder + u"*.*").c_str()), &found);
    if (find == INVALID_HANDLE_VALUE)
        return logos;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            logos.push_back(DVBPlaybackCore::LowerCase(folder + reinterpret_cast<const char16_t*>(found.cFileName)));
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
    return logos;
}

} // namespace

BEGIN_MESSAGE_MAP(CTune_Progress, CBaseTuneDialog)
    ON_MESSAGE(plintor::kScanStarted, OnScanStarted)
    ON_MESSAGE(plintor::kScanRange, OnScanRange)
    ON_MESSAGE(plintor::kScanEntry, OnScanEntry)
    ON_MESSAGE(plintor::kScanRecord, OnScanRecord)
    ON_MESSAGE(plintor::kScanEnded, OnScanEnded)
    ON_BN_CLICKED(IDC_SCAN_STOP, OnScanStop)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_SCAN_PROVIDERS, OnProviderChanged)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_SCAN_CHANNELS, OnChannelChanged)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CTune_Progress::CTune_Progress(CTuneWizardInterface* wizard, CPagesListCallback* view)
    : CBaseTuneDialog(IDD_TUNE_PROGRESS, 7, wizard), m_view(view), m_logos(ListLogos())
{
}

CTune_Progress::~CTune_Progress() { StopWorker(); }

void CTune_Progress::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_SCAN_PROVIDERS, m_providers);
    DDX_Control(dx, IDC_SCAN_CHANNELS, m_channels);
    DDX_Control(dx, IDC_SCAN_PROGRESS, m_progress);
    DDX_Control(dx, IDC_SCAN_TEXT, m_text);
    DDX_Control(dx, IDC_SCAN_STOP, m_scanStop);
}

BOOL CTune_Progress::OnInitDialog()
{
    CBaseTuneDialog::OnInitDialog();
    CreateBoldTahoma(m_textFont, 8, DEFAULT_QUALITY);
    m_text.SetFont(m_textFont);
    m_providers.Initialise();
    m_channels.Initialise();
    m_channels.InsertColumn(0, L"", LVCFMT_LEFT, 294);
    return TRUE;
}

void CTune_Progress::OnDestroy()
{
    StopWorker();
    // Records the worker posted that this window will never handle.
    MSG message;
    while (::PeekMessageW(&message, m_hWnd, plintor::kScanRecord, plintor::kScanRecord, PM_REMOVE))
        delete reinterpret_cast<CQORService*>(message.wParam);
    Default();
}

void CTune_Progress::StopWorker()
{
    m_worker.Stop();
    m_source.reset();
}

int CTune_Progress::Activate()
{
    m_text.SetWindowText(LoadUiString(IDS_SCAN_TEXT));
    m_scanStop.SetWindowText(LoadUiString(m_runState == kScanning ? IDS_STOP : IDS_SCAN));
    m_wizard->SetNextText(LoadUiString(IDS_FINISH));
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    CString channel = LoadUiString(IDS_CHANNEL_COLUMN);
    CString provider = LoadUiString(IDS_PROVIDER);
    column.pszText = const_cast<wchar_t*>(channel.GetString());
    m_channels.SendMessage(LVM_SETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    column.pszText = const_cast<wchar_t*>(provider.GetString());
    m_providers.SendMessage(LVM_SETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    m_channels.DeleteAllItems();
    m_channels.SendMessage(LVM_REMOVEALLGROUPS);
    m_channels.SendMessage(LVM_ENABLEGROUPVIEW, TRUE);
    const struct {
        int id;
        UINT text;
    } groups[] = {{plintor::kGroupTV, IDS_GROUP_TV},
                  {plintor::kGroupRadio, IDS_GROUP_RADIO},
                  {plintor::kGroupOther, IDS_GROUP_OTHER}};
    for (const auto& group : groups) {
        CString header = LoadUiString(group.text);
        LVGROUP insert = {};
        insert.cbSize = sizeof(insert);
        insert.mask = LVGF_HEADER | LVGF_GROUPID;
        insert.pszHeader = const_cast<wchar_t*>(header.GetString());
        insert.iGroupId = group.id;
        m_channels.SendMessage(LVM_INSERTGROUP, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&insert));
    }
    if (m_providers.GetNextItem(-1, LVNI_SELECTED) >= 0)
        RebuildChannels();
    return 0;
}

void CTune_Progress::OnNext()
{
    if (m_runState == kScanning)
        return;
    if (m_view)
        m_view->EnableButtons(true, true, true);
    m_wizard->GoToState(7, 8);
}

void CTune_Progress::ClearResults()
{
    m_filling = true;
    m_channels.DeleteAllItems();
    m_providers.DeleteAllItems();
    m_filling = false;
    m_found.clear();
}

std::unique_ptr<plintor::CScanSource> CTune_Progress::MakeSource(int sourceType)
{
    CTuneList list;
    m_wizard->GetTuneList(&list);
    if (sourceType == plintor::kSourceNetwork) {
        std::vector<uint64_t> packed;
        for (const CTuneList::Entry& entry : list.Entries())
            packed.push_back(entry.multicast);
        return std::make_unique<plintor::CMulticastScanSource>(plintor::CMulticastScanSource::FromPacked(packed));
    }
    CString device;
    int marker = 0;
    m_wizard->GetDevice(&device, &marker);
    CString network;
    intptr_t value = 0;
    uint32_t diseqcMode = 0;
    m_wizard->GetNetwork(&network, &value, &diseqcMode);
    std::vector<ILocator*> locators;
    for (const CTuneList::Entry& entry : list.Entries())
        locators.push_back(entry.locator);
    return std::make_unique<plintor::CBDAScanSource>(sourceType, ToU16(device), locators, diseqcMode);
}

HRESULT CTune_Progress::StartScan()
{
    if (m_runState == kScanning || m_worker.IsRunning())
        return E_FAIL;
    m_worker.Stop();
    int sourceType = 0;
    m_wizard->GetSourceType(&sourceType);
    m_source = MakeSource(sourceType);
    ClearResults();
    m_runState = kScanning;
    m_scanStop.SetWindowText(LoadUiString(IDS_STOP));
    m_scanStop.EnableWindow(TRUE);
    m_providers.EnableWindow(FALSE);
    m_channels.EnableWindow(FALSE);
    m_progress.EnableWindow(TRUE);
    m_progress.SetPos(0);
    m_wizard->SetNextButton(false, LoadUiString(IDS_FINISH));
    m_wizard->EnableBackAndRestart(false, false);
    plintor::CScanSource* source = m_source.get();
    const HWND window = m_hWnd;
    const HRESULT started = m_worker.Start([source, sourceType, window](base::CManualResetEvent& stop) {
        const HRESULT com = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        plintor::RunScan(*source, sourceType, stop, [window](uint32_t message, uintptr_t wParam, intptr_t lParam) {
            return ::PostMessageW(window, message, wParam, lParam) != FALSE;
        });
        if (SUCCEEDED(com))
            ::CoUninitialize();
    });
    if (FAILED(started)) {
        // Nothing runs: the step is idle again, as after a scan that found nothing.
        m_source.reset();
        OnScanEnded(2, 0);
    }
    return started;
}

LRESULT CTune_Progress::OnScanStarted(WPARAM, LPARAM)
{
    if (m_view)
        m_view->EnableButtons(false, false, false);
    return 0;
}

LRESULT CTune_Progress::OnScanRange(WPARAM count, LPARAM)
{
    m_progress.SetRange(0, static_cast<short>(std::min<WPARAM>(count, 0x7FFF)));
    return 0;
}

LRESULT CTune_Progress::OnScanEntry(WPARAM, LPARAM index)
{
    m_progress.SetPos(static_cast<int>(index));
    return 0;
}

LRESULT CTune_Progress::OnScanRecord(WPARAM wParam, LPARAM)
{
    auto* record = reinterpret_cast<CQORService*>(wParam);
    if (!record)
        return 0;
    record->FindLogo(m_logos);
    m_found.emplace_back(record);
    m_providers.AddChannel(*record, ToU16(LoadUiString(IDS_UNKNOWN)));
    return 0;
}

LRESULT CTune_Progress::OnScanEnded(WPARAM stage, LPARAM)
{
    if (stage != 2)
        return 0;
    // The run is over: its thread is joined and its source closed before anything else starts.
    StopWorker();
    m_runState = kIdle;
    m_scanStop.SetWindowText(LoadUiString(IDS_SCAN));
    m_scanStop.EnableWindow(FALSE);
    m_providers.EnableWindow(TRUE);
    m_channels.EnableWindow(TRUE);
    m_wizard->SetNextButton(true, LoadUiString(IDS_FINISH));
    m_wizard->EnableBackAndRestart(true, false);
    m_progress.EnableWindow(FALSE);
    return 0;
}

void CTune_Progress::OnScanStop()
{
    if (m_runState == kScanning)
        m_worker.Stop();
    else
        StartScan();
}

void CTune_Progress::RebuildChannels()
{
    if (m_providers.GetNextItem(-1, LVNI_SELECTED) < 0)
        return;
    std::vector<CQORService*> found;
    for (const auto& record : m_found)
        found.push_back(record.get());
    const std::vector<CQORService*> channels =
        plintor::ChannelsOfProvider(found, m_providers.SelectedRow(), ToU16(LoadUiString(IDS_UNKNOWN)));
    m_filling = true;
    m_channels.DeleteAllItems();
    for (size_t i = 0; i < channels.size(); ++i) {
        CQORService* record = channels[i];
        const std::u16string name = record->GetName();
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_GROUPID;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(name.c_str()));
        item.lParam = reinterpret_cast<LPARAM>(record);
        item.iGroupId = plintor::GroupOf(record->GetServiceType());
        const int inserted =
            static_cast<int>(m_channels.SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        m_channels.SetTicked(inserted, record->GetSelected() != 0);
    }
    m_filling = false;
}

void CTune_Progress::OnProviderChanged(NMHDR* header, LRESULT* result)
{
    auto* change = reinterpret_cast<NMLISTVIEW*>(header);
    *result = 0;
    if (!m_filling && change->iItem >= 0 && (change->uNewState & LVIS_SELECTED) && !(change->uOldState & LVIS_SELECTED))
        RebuildChannels();
}

void CTune_Progress::OnChannelChanged(NMHDR* header, LRESULT* result)
{
    auto* change = reinterpret_cast<NMLISTVIEW*>(header);
    *result = 0;
    if (m_filling || change->iItem < 0 || !(change->uChanged & LVIF_STATE) ||
        ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK) == 0)
        return;
    auto* record = reinterpret_cast<CQORService*>(m_channels.GetItemData(change->iItem));
    if (record)
        record->SetSelected(((change->uNewState & LVIS_STATEIMAGEMASK) >> 12) == 2 ? 1 : 0);
}
