// The configurator's only view: the page list on the left, the page on the right, Ok, Cancel and
// Apply below; it also loads and saves the channel list and the scheduled recordings.
#pragma once

#include <windows.h>

#include <memory>

#include "dvb/DVBPlaybackCore/CServices.h"
#include "framework/win/CButton.h"
#include "framework/win/CFormView.h"
#include "framework/win/CTabCtrl.h"
#include "plintor/win/CConfigPages.h"
#include "plintor/win/CLoadSave.h"
#include "plintor/win/CPagesList.h"
#include "plintor/win/CPagesListCallback.h"
#include "plintor/win/ScheduledRecordings.h"

class CConfigView : public CFormView, public CPagesListCallback, public CLoadSave {
    DECLARE_DYNCREATE(CConfigView)
public:
    CConfigView();
    ~CConfigView() override;

    void OnInitialUpdate() override;

    void OnPageSelected(int index) override;
    void EnableButtons(bool apply, bool cancel, bool ok) override;

    void Save() override;
    void Load() override;
    void UpdateTexts() override;

    // Every page's Save, then the view's own.
    void Apply();

    DVBPlaybackCore::CServices& GetServices() { return *m_services; }
    CScheduledRecordings& GetRecordings() { return m_recordings; }
    CConfigPageItem* GetCurrentItem() const { return m_current; }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnMeasureItem(int id, MEASUREITEMSTRUCT* measure) override;
    void OnOk();
    void OnCancel();
    void OnApply() { Apply(); }

    DECLARE_MESSAGE_MAP()

private:
    void AddPage(int index, LPCWSTR itemText, UINT iconId, std::unique_ptr<CWnd> page, CLoadSave* loadSave,
                 UINT templateId);
    void SaveStartChannel();
    void Report(const CString& text);

    CConfigPages m_pages;
    CPagesList m_list;
    CTabCtrl m_area;
    CButton m_ok;
    CButton m_cancel;
    CButton m_apply;
    std::unique_ptr<DVBPlaybackCore::CServices> m_services;
    CScheduledRecordings m_recordings;
    CConfigPageItem* m_current = nullptr;
    CRect m_pageRect;
};
