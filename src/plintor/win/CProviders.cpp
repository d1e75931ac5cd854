#include "plintor/win/CProviders.h"

#include "plintor/ProviderGroups.h"

void CProviders::Initialise()
{
    SetExtendedStyle(LVS_EX_FULLROWSELECT);
    InsertColumn(0, L"", LVCFMT_LEFT, 135);
}

void CProviders::AddChannel(const DVBPlaybackCore::CQORService& channel, const std::u16string& unknown)
{
    const std::u16string row = plintor::ProviderRowOf(channel, unknown);
    LVFINDINFOW find = {};
    find.flags = LVFI_STRING;
    find.psz = reinterpret_cast<const wchar_t*>(row.c_str());
    if (SendMessage(LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)) < 0)
        InsertItem(0, reinterpret_cast<const wchar_t*>(row.c_str()));
}

std::u16string CProviders::SelectedRow() const
{
    const int row = GetNextItem(-1, LVNI_SELECTED);
    if (row < 0)
        return std::u16string();
    const CString text = GetItemText(row, 0);
    const wchar_t* s = text.GetString();
    return std::u16string(s, s + text.GetLength());
}
