// What the channel editor and the favourites page share: a list of channels filtered by a search
// field with a placeholder, rows moved with Up and Down, buttons that follow the selection, and
// the page's keys. The pages edit the shared channel list in memory; Apply saves it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "dvb/DVBPlaybackCore/CServices.h"
#include "framework/win/CButton.h"
#include "framework/win/CDialog.h"
#include "framework/win/CEdit.h"
#include "framework/win/CFont.h"
#include "framework/win/CListCtrl.h"
#include "plintor/ChannelNumbering.h"
#include "plintor/win/CLoadSave.h"
#include "plintor/win/PageFont.h"

class CChannelPage : public CDialog, public CLoadSave {
public:
    static const int kRowHeight = 23;
    static const COLORREF kPlaceholderColour = RGB(0xA0, 0xA0, 0xA0);

    struct CControlIds {
        UINT list, search, up, down, remove;
    };
    CChannelPage(UINT templateId, DVBPlaybackCore::CServices& services, const CControlIds& ids);

    void Save() override {}
    void Load() override {}
    void UpdateTexts() override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // The channels of the rows, top to bottom.
    std::vector<DVBPlaybackCore::CQORService*> Rows() const;
    // Whether the rows shown were chosen by the search text.
    bool IsFiltered() const { return m_filtered; }

protected:
    virtual CListCtrl& List() = 0;
    // The sorted list of the page's kind; S_FALSE (nothing copied) when onlyIfChanged and the list
    // is as at the last copy.
    virtual HRESULT GetChannels(DVBPlaybackCore::CServices::ServiceArray& out, bool onlyIfChanged) = 0;
    // Whether a channel of lower-cased name is listed for the lower-cased search text.
    virtual bool Matches(const std::wstring& name, const std::wstring& search) const = 0;
    virtual plintor::NumberKind Kind() const = 0;
    virtual void Remove() = 0;
    virtual void AfterFill() {}
    virtual void OnListClick(const NMITEMACTIVATE*) {}

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnMeasureItem(int id, MEASUREITEMSTRUCT* measure) override;

    // Fills the list again: always when forced or at the first fill, otherwise only when the
    // channel list changed since.
    void Fill(bool force);
    void UpdateButtons();
    // Selects the row at index, or the last row when the list is shorter.
    void SelectAfterRemoval(int index);
    // The selected rows, top to bottom.
    std::vector<int> SelectedRows() const;
    DVBPlaybackCore::CServices& Services() { return m_services; }

    DVBPlaybackCore::CServices& m_services;
    uint64_t m_version = 0;

private:
    void Move(int direction);
    void OnSearchFocus();
    void OnSearchFocusLost();
    void SetSearchText(const wchar_t* text);
    bool SearchHasFocus() const { return ::GetFocus() == m_search.m_hWnd; }

    CControlIds m_ids;
    CEdit m_search;
    CButton m_up, m_down, m_remove;
    CFont m_italic, m_normal;
    bool m_placeholder = false;
    bool m_ignoreChange = false;
    bool m_first = true;
    bool m_filtered = false;
};
