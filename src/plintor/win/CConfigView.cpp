#include "plintor/win/CConfigView.h"

#include "dvb/DVBPlaybackCore/win/ProgramFolder.h"
#include "framework/win/CFrameWnd.h"
#include "framework/win/CWinApp.h"
#include "plintor/DefaultStartChannel.h"
#include "plintor/win/CPage_ChannelEditor.h"
#include "plintor/win/CPage_Favourites.h"
#include "plintor/win/CPage_General.h"
#include "plintor/win/CPage_Record.h"
#include "plintor/win/CPage_ScanChannels.h"
#include "plintor/win/CPage_Scheduler.h"
#include "plintor/win/LoadUiString.h"
#include "plintor/win/SettingsKeys.h"
#include "resource.h"

namespace {

// The viewer holds this while it runs.
const wchar_t kViewerMutex[] = L"Harvo QOR Mutex {196AA390-851E-4e3b-B3CA-16C58E83CE82}";

} // namespace

IMPLEMENT_DYNCREATE(CConfigView, CFormView)

BEGIN_MESSAGE_MAP(CConfigView, CFormView)
    ON_BN_CLICKED(IDC_OK, OnOk)
    ON_BN_CLICKED(IDC_CANCEL, OnCancel)
    ON_BN_CLICKED(IDC_APPLY, OnApply)
END_MESSAGE_MAP()

CConfigView::CConfigView()
    : CFormView(IDD_CONFIG_FORM),
      m_services(std::make_unique<DVBPlaybackCore::CServices>(nullptr, DVBPlaybackCore::ProgramFolder()))
{
}

CConfigView::~CConfigView() = default;

void CConfigView::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_PAGE_LIST, m_list);
    DDX_Control(dx, IDC_PAGE_AREA, m_area);
    DDX_Control(dx, IDC_OK, m_ok);
    DDX_Control(dx, IDC_CANCEL, m_cancel);
    DDX_Control(dx, IDC_APPLY, m_apply);
}

void CConfigView::OnMeasureItem(int id, MEASUREITEMSTRUCT* measure)
{
    // The list asks while it is being made, before it has its object.
    if (id == IDC_PAGE_LIST)
        measure->itemHeight = CPagesList::kRowHeight;
}

void CConfigView::OnInitialUpdate()
{
    CFormView::OnInitialUpdate();
    Load();
    ResizeParentToFit(FALSE);

    m_list.Initialise(&m_pages, this);
    m_list.InsertColumn(0, L"Title", LVCFMT_LEFT, 199);
    m_area.GetClientRect(&m_pageRect);
    m_area.AdjustRect(FALSE, &m_pageRect);
    m_area.ClientToScreen(&m_pageRect);
    ScreenToClient(&m_pageRect);

    auto general = std::make_unique<CPage_General>(this);
    CPage_General* generalPage = general.get();
    AddPage(0, L"General", IDB_PAGE_GENERAL, std::move(general), generalPage, IDD_PAGE_GENERAL);
    auto record = std::make_unique<CPage_Record>();
    CPage_Record* recordPage = record.get();
    AddPage(1, L"Record Options", IDB_PAGE_RECORD, std::move(record), recordPage, IDD_PAGE_RECORD);
    auto scan = std::make_unique<CPage_ScanChannels>(m_services.get(), this, &m_list);
    CPage_ScanChannels* scanPage = scan.get();
    AddPage(2, L"Scan Channels", IDB_PAGE_SCAN, std::move(scan), scanPage, IDD_PAGE_SCAN);
    for (int radio = 0; radio < 2; ++radio) {
        auto editor = std::make_unique<CPage_ChannelEditor>(*m_services, m_recordings, radio != 0);
        CPage_ChannelEditor* editorPage = editor.get();
        AddPage(3 + radio, radio ? L"Radio Channel" : L"TV Channels", IDB_PAGE_CHANNELS, std::move(editor), editorPage, IDD_PAGE_CHANNELS);
    }
    auto favourites = std::make_unique<CPage_Favourites>(*m_services);
    CPage_Favourites* favouritesPage = favourites.get();
    AddPage(5, L"Favorites", IDB_PAGE_FAVOURITES, std::move(favourites), favouritesPage, IDD_PAGE_FAVOURITES);
    auto scheduler = std::make_unique<CPage_Scheduler>(*m_services, m_recordings);
    CPage_Scheduler* schedulerPage = scheduler.get();
    AddPage(6, L"Scheduler", IDB_PAGE_SCHEDULER, std::move(scheduler), schedulerPage, IDD_PAGE_SCHEDULER);

    m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    OnPageSelected(0);
    UpdateTexts();
}

void CConfigView::AddPage(int index, LPCWSTR itemText, UINT iconId, std::unique_ptr<CWnd> page, CLoadSave* loadSave,
                          UINT templateId)
{
    int row = m_list.InsertItem(index, itemText);
    auto* dialog = static_cast<CDialog*>(page.get());
    if (dialog->Create(templateId, this))
        dialog->MoveWindow(m_pageRect);
    loadSave->Load();
    CConfigPageItem* item = m_pages.Add(
        std::make_unique<CConfigPageItem>(LoadUiString(IDS_PAGE_TITLE_FIRST + index), iconId, std::move(page), loadSave));
    item->m_number = index;
    m_list.SetItemData(row, reinterpret_cast<DWORD_PTR>(item));
}

void CConfigView::OnPageSelected(int index)
{
    // Rows are in page order, whatever order the pages were added in.
    CConfigPageItem* item = index >= 0 ? reinterpret_cast<CConfigPageItem*>(m_list.GetItemData(index)) : nullptr;
    if (!item || item == m_current)
        return;
    if (m_current && m_current->m_page->m_hWnd)
        m_current->m_page->ShowWindow(SW_HIDE);
    m_current = item;
    if (item->m_page->m_hWnd)
        item->m_page->ShowWindow(SW_SHOW);
    item->m_loadSave->UpdateTexts();
}

void CConfigView::EnableButtons(bool apply, bool cancel, bool ok)
{
    m_apply.EnableWindow(apply);
    m_cancel.EnableWindow(cancel);
    m_ok.EnableWindow(ok);
}

void CConfigView::UpdateTexts()
{
    m_ok.SetWindowText(LoadUiString(IDS_OK));
    m_cancel.SetWindowText(LoadUiString(IDS_CANCEL));
    m_apply.SetWindowText(LoadUiString(IDS_APPLY));
    for (int i = 0; i < m_pages.GetCount(); ++i) {
        CConfigPageItem* item = m_pages.GetAt(i);
        item->m_title = LoadUiString(IDS_PAGE_TITLE_FIRST + item->m_number);
    }
    m_list.RedrawItems(0, m_list.GetItemCount() - 1);
    if (CWnd* frame = GetParentFrame())
        frame->SetWindowText(LoadUiString(IDS_WINDOW_TITLE));
}

void CConfigView::OnOk()
{
    Apply();
    if (CWnd* main = AfxGetMainWnd())
        main->PostMessage(WM_CLOSE);
}

void CConfigView::OnCancel()
{
    if (CWnd* main = AfxGetMainWnd())
        main->PostMessage(WM_CLOSE);
}

void CConfigView::Apply()
{
    for (int i = 0; i < m_pages.GetCount(); ++i)
        m_pages.GetAt(i)->m_loadSave->Save();
    Save();
}

void CConfigView::Load()
{
    LoadScheduledRecordings(m_recordings);
}

void CConfigView::Save()
{
    if (HANDLE viewer = ::OpenMutexW(SYNCHRONIZE, FALSE, kViewerMutex)) {
        ::CloseHandle(viewer);
        Report(LoadUiString(IDS_VIEWER_RUNNING));
    }
    if (FAILED(m_services->SaveChannels())) {
        CString text;
        text.Format(LoadUiString(IDS_CHANNELS_NOT_SAVED),
                    reinterpret_cast<const wchar_t*>(m_services->GetChannelFilePath().c_str()));
        Report(text);
    }
    SaveStartChannel();
    std::vector<CString> notSaved;
    std::vector<CString> notDeleted;
    SaveScheduledRecordings(m_recordings, &notSaved, &notDeleted);
    for (const CString& name : notSaved) {
        CString text;
        text.Format(LoadUiString(IDS_JOB_NOT_SAVED), name.GetString());
        Report(text);
    }
    for (const CString& name : notDeleted) {
        CString text;
        text.Format(LoadUiString(IDS_JOB_NOT_DELETED), name.GetString());
        Report(text);
    }
}

void CConfigView::SaveStartChannel()
{
    // The viewer starts the last channel only when both values are there: an existing pair
    // is the user's own choice and stays.
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kViewerKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return;
    DWORD service = 0;
    DWORD index = 0;
    const bool hasService = ReadDword(key, L"LastActiveService", &service);
    const bool hasIndex = ReadDword(key, L"LastActiveServiceIndex", &index);
    plintor::CStartChannel start;
    if (!(hasService && hasIndex) && plintor::ChooseStartChannel(*m_services, &start)) {
        if (!hasService)
            WriteDword(key, L"LastActiveService", start.key);
        if (!hasIndex && (!hasService || service == start.key))
            WriteDword(key, L"LastActiveServiceIndex", start.index);
    }
    ::RegCloseKey(key);
}

void CConfigView::Report(const CString& text)
{
    ::MessageBoxW(GetParentFrame() ? GetParentFrame()->m_hWnd : m_hWnd, text, LoadUiString(IDS_ERROR_CAPTION),
                  MB_OK | MB_ICONWARNING);
}
