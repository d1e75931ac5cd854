// The Scheduler page: the scheduled recordings not marked deleted, added and edited with the
// recording dialog and removed (marked deleted; Apply deletes their jobs).
#pragma once

#include <windows.h>

#include "framework/win/CButton.h"
#include "framework/win/CDialog.h"
#include "plintor/win/CLoadSave.h"
#include "plintor/win/CSchedulerList.h"

class CConfigView;

class CPage_Scheduler : public CDialog, public CLoadSave {
public:
    explicit CPage_Scheduler(CConfigView* view);

    void Save() override {}
    void Load() override {}
    void UpdateTexts() override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnMeasureItem(int id, MEASUREITEMSTRUCT* measure) override;
    void OnAdd();
    void OnEdit();
    void OnRemove();
    void OnItemChanged(NMHDR* header, LRESULT* result);
    LRESULT OnShowWindowMessage(WPARAM shown, LPARAM);

    DECLARE_MESSAGE_MAP()

private:
    void Fill();
    void UpdateButtons();

    CConfigView* m_view;
    CSchedulerList m_list;
    CButton m_add, m_edit, m_remove;
};
