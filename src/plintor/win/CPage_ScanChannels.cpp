#include "plintor/win/CPage_ScanChannels.h"

#include "plintor/ManualEntry.h"
#include "plintor/win/LoadUiString.h"
#include "resource.h"

using DVBPlaybackCore::CQORService;

BEGIN_MESSAGE_MAP(CPage_ScanChannels, CDialog)
    ON_BN_CLICKED(IDC_SCAN_NEXT, OnNextButton)
    ON_BN_CLICKED(IDC_SCAN_PREVIOUS, OnPrevious)
    ON_BN_CLICKED(IDC_SCAN_RESTART, OnRestart)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CPage_ScanChannels::CPage_ScanChannels(DVBPlaybackCore::CServices* services, CPagesListCallback* view,
                                       CListCtrl* pageList)
    : CDialog(IDD_PAGE_SCAN), m_services(services), m_view(view), m_pageList(pageList)
{
}

CPage_ScanChannels::~CPage_ScanChannels() = default;

void CPage_ScanChannels::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_SCAN_NEXT, m_next);
    DDX_Control(dx, IDC_SCAN_PREVIOUS, m_previous);
    DDX_Control(dx, IDC_SCAN_RESTART, m_restart);
    DDX_Control(dx, IDC_SCAN_SUMMARY, m_summary);
}

BOOL CPage_ScanChannels::OnInitDialog()
{
    CDialog::OnInitDialog();
    CRect area;
    CWnd* placeholder = GetDlgItem(IDC_SCAN_PLACEHOLDER);
    placeholder->GetWindowRect(&area);
    ScreenToClient(&area);
    m_sourceTypeStep = std::make_unique<CTune_SourceType>(this);
    m_devicesStep = std::make_unique<CTune_Devices>(this);
    m_transpondersStep = std::make_unique<CTune_TransponderList>(this);
    m_progressStep = std::make_unique<CTune_Progress>(this, m_view);
    for (CBaseTuneDialog* step : {static_cast<CBaseTuneDialog*>(m_sourceTypeStep.get()),
                                  static_cast<CBaseTuneDialog*>(m_devicesStep.get()),
                                  static_cast<CBaseTuneDialog*>(m_transpondersStep.get()),
                                  static_cast<CBaseTuneDialog*>(m_progressStep.get())})
        step->CreateOver(this, area);
    m_history.push_back(m_sourceTypeStep.get());
    GoToState(-1, 1);
    return TRUE;
}

void CPage_ScanChannels::OnDestroy()
{
    // The progress step stops and joins its worker before the choices it reads go.
    for (CBaseTuneDialog* step : {static_cast<CBaseTuneDialog*>(m_progressStep.get()),
                                  static_cast<CBaseTuneDialog*>(m_transpondersStep.get()),
                                  static_cast<CBaseTuneDialog*>(m_devicesStep.get()),
                                  static_cast<CBaseTuneDialog*>(m_sourceTypeStep.get())}) {
        if (step && step->m_hWnd)
            step->DestroyWindow();
    }
    m_history.clear();
    Default();
}

void CPage_ScanChannels::SetNextButton(bool enable, const CString& text)
{
    m_next.EnableWindow(enable);
    SetNextText(text);
}

void CPage_ScanChannels::SetNextText(const CString& text)
{
    if (!text.IsEmpty())
        m_next.SetWindowText(text);
}

void CPage_ScanChannels::EnableBackAndRestart(bool previous, bool restart)
{
    m_previous.EnableWindow(previous);
    m_restart.EnableWindow(restart);
}

void CPage_ScanChannels::GetDevice(CString* name, int* marker)
{
    *name = m_device;
    *marker = m_deviceMarker;
}

void CPage_ScanChannels::SetDevice(const CString& name, int marker)
{
    m_device = name;
    m_deviceMarker = marker;
}

void CPage_ScanChannels::GetNetwork(CString* name, intptr_t* value, uint32_t* diseqcMode)
{
    *name = m_network;
    *value = m_networkValue;
    *diseqcMode = m_diseqcMode;
}

void CPage_ScanChannels::SetNetwork(const CString& name, intptr_t value, uint32_t diseqcMode)
{
    m_network = name;
    m_networkValue = value;
    m_diseqcMode = diseqcMode;
}

void CPage_ScanChannels::Show(CBaseTuneDialog* step)
{
    CBaseTuneDialog* previous = Head();
    m_history.push_back(step);
    if (previous && previous != step)
        previous->ShowWindow(SW_HIDE);
    step->ShowWindow(SW_SHOW);
    UpdateSummary();
}

void CPage_ScanChannels::GoToState(int, int state)
{
    switch (state) {
    case 1:
        EnableBackAndRestart(false, false);
        SetNextButton(false, LoadUiString(IDS_NEXT));
        m_sourceTypeStep->Activate();
        // The source-type step is the history's first entry already.
        if (Head() != m_sourceTypeStep.get())
            m_history.push_back(m_sourceTypeStep.get());
        m_sourceTypeStep->ShowWindow(SW_SHOW);
        UpdateSummary();
        break;
    case 2:
        EnableBackAndRestart(true, true);
        SetNextButton(false, LoadUiString(IDS_NEXT));
        if (m_devicesStep->Activate()) {
            Show(m_devicesStep.get());
            break;
        }
        [[fallthrough]];
    case 3:
        EnableBackAndRestart(true, true);
        SetNextButton(false, LoadUiString(IDS_NEXT));
        m_transpondersStep->Activate();
        Show(m_transpondersStep.get());
        break;
    case 7:
        m_progressStep->ClearResults();
        EnableBackAndRestart(true, true);
        SetNextButton(false, LoadUiString(IDS_FINISH));
        m_progressStep->Activate();
        m_progressStep->StartScan();
        Show(m_progressStep.get());
        break;
    case 8:
        Finish();
        break;
    default:
        break;
    }
}

void CPage_ScanChannels::Finish()
{
    std::vector<std::unique_ptr<CQORService>>& found = m_progressStep->Found();
    DVBPlaybackCore::CServices::ServiceArray sorted;
    for (auto& record : found)
        sorted.push_back(record.release());
    found.clear();
    DVBPlaybackCore::CServices::SortServicesByName(sorted);
    for (CQORService* record : sorted) {
        record->SetNew(1);
        // Taken by the list, or merged into a record it had (then deleted here).
        if (record->GetSelected() && m_services && m_services->AddService(record) == 0)
            continue;
        delete record;
    }
    m_progressStep->ClearResults();
    if (m_pageList && m_pageList->m_hWnd && kChannelsPageRow < m_pageList->GetItemCount())
        m_pageList->SetItemState(kChannelsPageRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    OnRestart();
}

void CPage_ScanChannels::OnNextButton()
{
    if (CBaseTuneDialog* head = Head())
        head->OnNext();
}

void CPage_ScanChannels::OnPrevious()
{
    if (m_history.size() <= 1)
        return;
    CBaseTuneDialog* popped = m_history.back();
    m_history.pop_back();
    CBaseTuneDialog* head = m_history.back();
    switch (head->GetState()) {
    case 1:
        m_next.EnableWindow(TRUE);
        EnableBackAndRestart(false, false);
        m_sourceType = 0;
        head->Activate();
        break;
    case 2:
        m_next.EnableWindow(TRUE);
        EnableBackAndRestart(true, true);
        SetDevice(CString(), 0);
        head->Activate();
        break;
    case 3:
        m_next.EnableWindow(TRUE);
        EnableBackAndRestart(true, true);
        SetNetwork(CString(), 0, 0);
        m_tuneList.Clear();
        head->Activate();
        break;
    default:
        break;
    }
    popped->ShowWindow(SW_HIDE);
    m_next.SetWindowText(LoadUiString(IDS_NEXT));
    head->ShowWindow(SW_SHOW);
    if (m_view)
        m_view->EnableButtons(true, true, true);
    UpdateSummary();
}

void CPage_ScanChannels::OnRestart()
{
    if (!m_history.empty() && Head() == m_sourceTypeStep.get())
        return;
    if (CBaseTuneDialog* head = Head())
        head->ShowWindow(SW_HIDE);
    m_history.clear();
    m_history.push_back(m_sourceTypeStep.get());
    m_sourceType = 0;
    // The names go too: the summary of the next run would show them.
    SetDevice(CString(), 0);
    SetNetwork(CString(), 0, 0);
    m_tuneList.Clear();
    GoToState(-1, 1);
    m_summary.SetWindowText(L"");
}

void CPage_ScanChannels::UpdateTexts()
{
    m_next.SetWindowText(LoadUiString(IDS_NEXT));
    m_previous.SetWindowText(LoadUiString(IDS_PREVIOUS));
    m_restart.SetWindowText(LoadUiString(IDS_RESTART));
    if (CBaseTuneDialog* head = Head())
        head->Activate();
    UpdateSummary();
}

CString CPage_ScanChannels::Summary(int sourceType, const CString& device, int deviceMarker, const CString& network,
                                    intptr_t networkValue)
{
    static const UINT kNames[] = {0, IDS_SUMMARY_CABLE, IDS_SUMMARY_TERRESTRIAL, IDS_SUMMARY_SATELLITE, IDS_SUMMARY_ATSC,
                                  IDS_SUMMARY_NETWORK};
    if (sourceType < 1 || sourceType > 5)
        return CString();
    CString text = LoadUiString(kNames[sourceType]);
    if (deviceMarker != 0 && !device.IsEmpty())
        text += CString(L" > ") + device;
    if (networkValue != 0 || !network.IsEmpty())
        text += CString(L" > ") + network;
    return text;
}

void CPage_ScanChannels::UpdateSummary()
{
    m_summary.SetWindowText(Summary(m_sourceType, m_device, m_deviceMarker, m_network, m_networkValue));
}
