#include "framework/win/CListCtrl.h"

int CListCtrl::InsertColumn(int column, LPCWSTR heading, int format, int width)
{
    LVCOLUMNW lvc = {};
    lvc.mask = LVCF_TEXT | LVCF_FMT | (width >= 0 ? LVCF_WIDTH : 0);
    lvc.fmt = format;
    lvc.cx = width;
    lvc.pszText = const_cast<LPWSTR>(heading);
    return Send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lvc));
}

int CListCtrl::InsertItem(int index, LPCWSTR text)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<LPWSTR>(text);
    return Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

BOOL CListCtrl::SetItemText(int index, int column, LPCWSTR text)
{
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = const_cast<LPWSTR>(text);
    return Send(LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

CString CListCtrl::GetItemText(int index, int column) const
{
    // The control copies at most the buffer's size and says how much it copied; a text that
    // filled the buffer is asked for again with a larger one.
    CString text;
    for (int size = 256; size <= 65536; size *= 4) {
        LVITEMW item = {};
        item.iSubItem = column;
        item.cchTextMax = size;
        item.pszText = text.GetBuffer(size);
        int copied = Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        text.ReleaseBuffer(copied);
        if (copied < size - 1)
            break;
    }
    return text;
}

BOOL CListCtrl::SetItemData(int index, DWORD_PTR data)
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = static_cast<LPARAM>(data);
    return Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

DWORD_PTR CListCtrl::GetItemData(int index) const
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (!Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return 0;
    return static_cast<DWORD_PTR>(item.lParam);
}

BOOL CListCtrl::SetItemState(int index, UINT state, UINT mask)
{
    LVITEMW item = {};
    item.state = state;
    item.stateMask = mask;
    return Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

BOOL CListCtrl::GetItemRect(int index, LPRECT rect, UINT code) const
{
    rect->left = static_cast<LONG>(code);
    return Send(LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect));
}

BOOL CListCtrl::GetSubItemRect(int index, int column, UINT code, LPRECT rect) const
{
    rect->top = column;
    rect->left = static_cast<LONG>(code);
    if (!Send(LVM_GETSUBITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect)))
        return FALSE;
    // Sub-item 0 gives the whole row: its cell ends where its width does.
    if (column == 0 && code == LVIR_BOUNDS)
        rect->right = rect->left + Send(LVM_GETCOLUMNWIDTH, 0);
    return TRUE;
}

int CListCtrl::GetColumnCount() const
{
    HWND header = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, LVM_GETHEADER, 0, 0));
    return header ? static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

void CListCtrl::DrawColumns(DRAWITEMSTRUCT* draw)
{
    const int columns = GetColumnCount();
    for (int column = 0; column < columns; ++column) {
        RECT cell;
        if (GetSubItemRect(static_cast<int>(draw->itemID), column, LVIR_BOUNDS, &cell))
            DrawSubItem(draw, column, cell);
    }
}

BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        *result = TRUE;
        return TRUE;
    }
    if (message == WM_MEASUREITEM) {
        MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        *result = TRUE;
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, result);
}
