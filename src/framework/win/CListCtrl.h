// A list-view control of a dialog. An owner-drawn one (LVS_OWNERDRAWFIXED) draws its rows in
// DrawItem and sizes them in MeasureItem, both reached through its parent.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/CString.h"
#include "framework/win/CWnd.h"

class CListCtrl : public CWnd {
public:
    int GetItemCount() const { return Send(LVM_GETITEMCOUNT); }
    int InsertColumn(int column, LPCWSTR heading, int format = LVCFMT_LEFT, int width = -1);
    BOOL SetColumnText(int column, LPCWSTR heading)
    {
        LVCOLUMNW value = {};
        value.mask = LVCF_TEXT;
        value.pszText = const_cast<LPWSTR>(heading);
        return Send(LVM_SETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&value));
    }
    int InsertItem(int index, LPCWSTR text);
    BOOL DeleteItem(int index) { return Send(LVM_DELETEITEM, static_cast<WPARAM>(index)); }
    BOOL DeleteAllItems() { return Send(LVM_DELETEALLITEMS); }
    BOOL SetItemText(int index, int column, LPCWSTR text);
    CString GetItemText(int index, int column) const;
    BOOL SetItemData(int index, DWORD_PTR data);
    DWORD_PTR GetItemData(int index) const;
    BOOL SetItemState(int index, UINT state, UINT mask);
    UINT GetItemState(int index, UINT mask) const
    {
        return static_cast<UINT>(::SendMessageW(m_hWnd, LVM_GETITEMSTATE, static_cast<WPARAM>(index), mask));
    }
    // The next item after index (-1: from the start) that has flags (LVNI_SELECTED...); -1 if none.
    int GetNextItem(int index, int flags) const
    {
        return Send(LVM_GETNEXTITEM, static_cast<WPARAM>(index), MAKELPARAM(flags, 0));
    }
    BOOL GetItemRect(int index, LPRECT rect, UINT code) const;
    // The cell of a row and column (LVIR_BOUNDS, LVIR_LABEL...); column 0 is its own cell, not
    // the whole row.
    BOOL GetSubItemRect(int index, int column, UINT code, LPRECT rect) const;
    int GetColumnCount() const;
    BOOL RedrawItems(int first, int last) { return Send(LVM_REDRAWITEMS, static_cast<WPARAM>(first), last); }
    DWORD SetExtendedStyle(DWORD style)
    {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style)));
    }
    BOOL EnsureVisible(int index, BOOL partialOk) { return Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), partialOk); }

    virtual void DrawItem(DRAWITEMSTRUCT* draw) {}
    // Per-column drawing: DrawColumns calls DrawSubItem once per column with the cell's rectangle,
    // for a DrawItem that draws column by column.
    void DrawColumns(DRAWITEMSTRUCT* draw);
    virtual void DrawSubItem(DRAWITEMSTRUCT* draw, int column, const RECT& cell) {}
    virtual void MeasureItem(MEASUREITEMSTRUCT* measure) {}

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    int Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return static_cast<int>(::SendMessageW(m_hWnd, message, wParam, lParam));
    }
};
