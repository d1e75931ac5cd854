// A drop-down list of a dialog. Indexes are CB_ERR (-1) where none applies.
#pragma once

#include <windows.h>

#include "framework/win/CWnd.h"

class CComboBox : public CWnd {
public:
    int AddString(LPCWSTR text) { return Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }
    int GetCount() const { return Send(CB_GETCOUNT); }
    int GetCurSel() const { return Send(CB_GETCURSEL); }
    int SetCurSel(int index) { return Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
    void ResetContent() { Send(CB_RESETCONTENT); }
    DWORD_PTR GetItemData(int index) const
    {
        return static_cast<DWORD_PTR>(::SendMessageW(m_hWnd, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
    }
    int SetItemData(int index, DWORD_PTR data)
    {
        return Send(CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
    }

private:
    int Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return static_cast<int>(::SendMessageW(m_hWnd, message, wParam, lParam));
    }
};
