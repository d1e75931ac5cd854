// The platform's open or save file dialog. Filters are written as pairs separated by '|'
// ("Transport streams (*.ts)|*.ts|All files (*.*)|*.*||"), as the resources hold them.
#pragma once

#include <windows.h>

#include <string>

#include "framework/CString.h"

class CWnd;

class CFileDialog {
public:
    CFileDialog(BOOL open, const wchar_t* defaultExtension = nullptr, const wchar_t* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const wchar_t* filter = nullptr,
                CWnd* parent = nullptr);

    // IDOK with the chosen path, IDCANCEL when the user cancelled or the dialog failed.
    INT_PTR DoModal();
    CString GetPathName() const { return CString(m_path.c_str()); }

    // The platform's filter list of a '|'-separated one: each '|' a terminator, ending in two.
    static std::wstring FilterFromBars(const wchar_t* filter);

private:
    BOOL m_open;
    std::wstring m_defaultExtension;
    std::wstring m_path;
    std::wstring m_filter;
    DWORD m_flags;
    HWND m_owner;
};
