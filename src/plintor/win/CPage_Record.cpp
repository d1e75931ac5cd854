#include "plintor/win/CPage_Record.h"

#include <shlobj.h>

#include <cwchar>

#include "plintor/win/LoadUiString.h"
#include "plintor/win/PageFont.h"
#include "plintor/win/SettingsKeys.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CPage_Record, CDialog)
    ON_BN_CLICKED(IDC_BROWSE, OnBrowse)
    ON_WM_HSCROLL()
END_MESSAGE_MAP()

CPage_Record::CPage_Record() : CDialog(IDD_PAGE_RECORD) {}

void CPage_Record::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_RECORD_FOLDER, m_folder);
    DDX_Control(dx, IDC_BROWSE, m_browse);
    DDX_Control(dx, IDC_HEADING_LOCATION, m_headingLocation);
    DDX_Control(dx, IDC_HEADING_SIZE, m_headingSize);
    DDX_Control(dx, IDC_SIZE_SLIDER, m_slider);
    DDX_Control(dx, IDC_SHARE_TEXT, m_share);
}

BOOL CPage_Record::OnInitDialog()
{
    CDialog::OnInitDialog();
    CreateBoldTahoma(m_headingFont, 10, ANTIALIASED_QUALITY);
    m_headingLocation.SetFont(m_headingFont);
    m_headingSize.SetFont(m_headingFont);
    return TRUE;
}

CString CPage_Record::DefaultFolder()
{
    CString folder;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                        KEY_READ, &key) == ERROR_SUCCESS) {
        if (!ReadString(key, L"My Video", &folder) || folder.IsEmpty()) {
            folder.Empty();
            if (ReadString(key, L"Personal", &folder))
                folder += L"\\My Videos";
        }
        ::RegCloseKey(key);
    }
    if (folder.IsEmpty()) {
        // Without the shell's list the documents folder is asked for directly.
        wchar_t documents[MAX_PATH] = {};
        if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents)))
            folder = CString(documents) + L"\\My Videos";
    }
    folder += L"\\Tolvik recordings";
    return folder;
}

CString CPage_Record::ShareText(int percent, uint64_t freeBytes)
{
    const float gigabytes = static_cast<float>(freeBytes) / 1073741824.0f * static_cast<float>(percent) * 0.01f;
    CString format = LoadUiString(IDS_SHARE);
    wchar_t text[512] = {};
    std::swprintf(text, 512, format.GetString(), percent, static_cast<double>(gigabytes));
    return CString(text);
}

void CPage_Record::Load()
{
    m_slider.SetRange(0, 100);
    CString folder = DefaultFolder();
    DWORD percent = 80;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ | KEY_WRITE, &key) == ERROR_SUCCESS) {
        CString stored;
        if (ReadString(key, L"RecPath", &stored))
            folder = stored;
        ReadDword(key, L"FreeDiskSpace", &percent);
        ::RegCloseKey(key);
    }
    m_slider.SetPos(static_cast<int>(percent > 100 ? 100 : percent));
    SetRecordFolder(folder);
}

void CPage_Record::Save()
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    WriteDword(key, L"FreeDiskSpace", static_cast<DWORD>(m_slider.GetPos()));
    CString folder;
    m_folder.GetWindowText(folder);
    WriteString(key, L"RecPath", folder);
    ::RegCloseKey(key);
}

void CPage_Record::UpdateTexts()
{
    m_browse.SetWindowText(LoadUiString(IDS_BROWSE));
    m_headingLocation.SetWindowText(LoadUiString(IDS_RECORDING_LOCATION));
    m_headingSize.SetWindowText(LoadUiString(IDS_MAXIMUM_FILE_SIZE));
    UpdateShareText();
}

void CPage_Record::SetRecordFolder(const CString& path)
{
    m_folder.SetWindowText(path);
    int slash = path.Find(L'\\');
    CString root = slash >= 0 ? path.Left(slash + 1) : CString();
    ULARGE_INTEGER available = {};
    m_freeSpace = ::GetDiskFreeSpaceExW(root.GetString(), &available, nullptr, nullptr)
                      ? available.QuadPart
                      : 0;
    UpdateShareText();
}

void CPage_Record::UpdateShareText()
{
    m_share.SetWindowText(ShareText(m_slider.GetPos(), m_freeSpace));
}

void CPage_Record::OnHScroll(UINT, UINT, CWnd* bar)
{
    if (bar && bar->m_hWnd == m_slider.m_hWnd)
        UpdateShareText();
}

void CPage_Record::OnBrowse()
{
    BROWSEINFOW browse = {};
    browse.lpszTitle = L"Pick a Directory";
    browse.ulFlags = BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
    LPITEMIDLIST chosen = ::SHBrowseForFolderW(&browse);
    if (!chosen)
        return;
    wchar_t path[MAX_PATH] = {};
    if (::SHGetPathFromIDListW(chosen, path))
        SetRecordFolder(path);
    ::CoTaskMemFree(chosen);
}
