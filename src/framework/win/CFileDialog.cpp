#include "framework/win/CFileDialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "framework/win/CWnd.h"

CFileDialog::CFileDialog(BOOL open, const wchar_t* defaultExtension, const wchar_t* fileName, DWORD flags,
                         const wchar_t* filter, CWnd* parent)
    : m_open(open), m_defaultExtension(defaultExtension ? defaultExtension : L""),
      m_path(fileName ? fileName : L""), m_filter(FilterFromBars(filter)), m_flags(flags),
      m_owner(parent && parent->m_hWnd ? ::GetAncestor(parent->m_hWnd, GA_ROOT) : ::GetActiveWindow())
{
}

std::wstring CFileDialog::FilterFromBars(const wchar_t* filter)
{
    std::wstring result = filter ? filter : L"";
    if (result.empty())
        return result;
    for (wchar_t& c : result)
        if (c == L'|')
            c = L'\0';
    // The list ends with an empty string: two terminators after the last pattern.
    while (result.size() < 2 || result[result.size() - 1] != L'\0' || result[result.size() - 2] != L'\0')
        result.push_back(L'\0');
    return result;
}

INT_PTR CFileDialog::DoModal()
{
    std::vector<wchar_t> path(32768, L'\0');
    m_path.copy(path.data(), std::min(m_path.size(), path.size() - 1));
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = m_owner;
    ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = static_cast<DWORD>(path.size());
    ofn.lpstrDefExt = m_defaultExtension.empty() ? nullptr : m_defaultExtension.c_str();
    ofn.Flags = m_flags | OFN_EXPLORER | OFN_NOCHANGEDIR;
    const BOOL chosen = m_open ? ::GetOpenFileNameW(&ofn) : ::GetSaveFileNameW(&ofn);
    if (!chosen)
        return IDCANCEL;
    m_path = path.data();
    return IDOK;
}
