#include "plintor/win/CPage_General.h"

#include "plintor/win/LoadUiString.h"
#include "plintor/win/PageFont.h"
#include "plintor/win/SettingsKeys.h"
#include "resource.h"

namespace {

struct CheckValue {
    int id;
    const wchar_t* name;
    DWORD viewerDefault; // what the viewer assumes when the value is missing
};

const CheckValue kChecks[] = {
    { IDC_AUTOSTART, L"Autostart", 0 },
    { IDC_FULLSCREEN, L"Fullscreen", 0 },
    { IDC_SYSTRAY, L"SysTray", 0 },
    { IDC_AUTOUPDATE, L"Autoupdate", 0 },
    { IDC_DOUBLE_FRAMERATE, L"DoubleFramerate", 1 },
};

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR list)
{
    auto* languages = reinterpret_cast<std::vector<LANGID>*>(list);
    for (LANGID known : *languages) {
        if (known == language)
            return TRUE;
    }
    languages->push_back(language);
    return TRUE;
}

BOOL CALLBACK AddNameLanguages(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR list)
{
    ::EnumResourceLanguagesW(module, type, name, &AddLanguage, list);
    return TRUE;
}

} // namespace

BEGIN_MESSAGE_MAP(CPage_General, CDialog)
    ON_CBN_SELCHANGE(IDC_LANGUAGE, ApplyLanguage)
    ON_BN_CLICKED(IDC_UPDATE_NOW, OnUpdateNow)
END_MESSAGE_MAP()

CPage_General::CPage_General(CLoadSave* view) : CDialog(IDD_PAGE_GENERAL), m_view(view)
{
    // The languages of our own string tables, in the order the module lists them.
    wchar_t path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    HMODULE module = length > 0 && length < MAX_PATH ? ::LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE) : nullptr;
    if (module) {
        ::EnumResourceNamesW(module, RT_STRING, &AddNameLanguages, reinterpret_cast<LONG_PTR>(&m_languages));
        ::FreeLibrary(module);
    }
}

void CPage_General::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_LANGUAGE, m_language);
    DDX_Control(dx, IDC_HEADING_STARTUP, m_headingStartup);
    DDX_Control(dx, IDC_HEADING_GENERAL, m_headingGeneral);
    DDX_Control(dx, IDC_LABEL_LANGUAGE, m_labelLanguage);
    DDX_Control(dx, IDC_LABEL_PREFERRED, m_labelPreferred);
    DDX_Control(dx, IDC_AUTOSTART, m_autostart);
    DDX_Control(dx, IDC_FULLSCREEN, m_fullscreen);
    DDX_Control(dx, IDC_SYSTRAY, m_systray);
    DDX_Control(dx, IDC_AUTOUPDATE, m_autoupdate);
    DDX_Control(dx, IDC_DOUBLE_FRAMERATE, m_doubleFramerate);
    DDX_Control(dx, IDC_UPDATE_NOW, m_updateNow);
}

BOOL CPage_General::OnInitDialog()
{
    CDialog::OnInitDialog();
    CreateBoldTahoma(m_headingFont, 10, ANTIALIASED_QUALITY);
    m_headingStartup.SetFont(m_headingFont);
    m_headingGeneral.SetFont(m_headingFont);
    for (LANGID language : m_languages) {
        wchar_t name[1024] = {};
        ::GetLocaleInfoW(MAKELCID(language, SORT_DEFAULT), LOCALE_SLANGUAGE, name, 1024);
        m_language.AddString(name);
    }
    if (!m_languages.empty())
        m_language.SetCurSel(0);
    return TRUE;
}

void CPage_General::Save()
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    const bool autostart = m_autostart.GetCheck() == BST_CHECKED;
    WriteDword(key, L"Autostart", autostart ? 1 : 0);
    HKEY run = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ | KEY_WRITE, &run) == ERROR_SUCCESS) {
        if (autostart) {
            // Quoted: the program folder may hold blanks, and the shell would split it there.
            WriteString(run, kRunValue, L"\"" + ProgramFolderWithSlash() + L"Tolvik.exe\"");
        } else {
            ::RegDeleteValueW(run, kRunValue);
        }
        ::RegCloseKey(run);
    }
    for (const CheckValue& check : kChecks) {
        if (check.id != IDC_AUTOSTART)
            WriteDword(key, check.name, ::IsDlgButtonChecked(m_hWnd, check.id) == BST_CHECKED ? 1 : 0);
    }
    int selection = m_language.GetCurSel();
    if (selection >= 0 && selection < static_cast<int>(m_languages.size()))
        WriteDword(key, L"Language", m_languages[static_cast<size_t>(selection)]);
    ::RegCloseKey(key);
}

void CPage_General::Load()
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ | KEY_WRITE, &key) == ERROR_SUCCESS) {
        for (const CheckValue& check : kChecks) {
            // Each box on its own: a missing value shows what the viewer would do without it.
            DWORD value = check.viewerDefault;
            ReadDword(key, check.name, &value);
            ::CheckDlgButton(m_hWnd, check.id, value ? BST_CHECKED : BST_UNCHECKED);
        }
        DWORD language = 0;
        bool stored = ReadDword(key, L"Language", &language);
        m_language.SetCurSel(0);
        for (size_t i = 0; stored && i < m_languages.size(); ++i) {
            if (m_languages[i] == language)
                m_language.SetCurSel(static_cast<int>(i));
        }
        ::RegCloseKey(key);
    } else {
        for (const CheckValue& check : kChecks)
            ::CheckDlgButton(m_hWnd, check.id, check.viewerDefault ? BST_CHECKED : BST_UNCHECKED);
    }
    ApplyLanguage();
}

void CPage_General::ApplyLanguage()
{
    int selection = m_language.GetCurSel();
    if (selection < 0 || selection >= static_cast<int>(m_languages.size()))
        return;
    SetUiLanguage(m_languages[static_cast<size_t>(selection)]);
    static const struct { int control; UINT text; } kTexts[] = {
        { IDC_HEADING_STARTUP, IDS_HEADING_STARTUP }, { IDC_AUTOSTART, IDS_AUTOSTART },
        { IDC_FULLSCREEN, IDS_FULLSCREEN }, { IDC_SYSTRAY, IDS_SYSTRAY },
        { IDC_AUTOUPDATE, IDS_AUTOUPDATE }, { IDC_UPDATE_NOW, IDS_UPDATE_NOW },
        { IDC_HEADING_GENERAL, IDS_HEADING_GENERAL }, { IDC_LABEL_LANGUAGE, IDS_UI_LANGUAGE },
        { IDC_DOUBLE_FRAMERATE, IDS_DOUBLE_FRAMERATE }, { IDC_LABEL_PREFERRED, IDS_PREFERRED_LANGUAGE },
    };
    for (const auto& text : kTexts)
        SetDlgItemText(text.control, LoadUiString(text.text));
    if (m_view)
        m_view->UpdateTexts();
}
