// The Scheduler page: the scheduled recordings not marked deleted, added and edited with the
// recording dialog and removed (marked deleted; Apply deletes their jobs).
#pragma once

#include <windows.h>

#include "framework/win/CButton.h"
#include "framework/win/CDialog.h"
#include "plintor/win/CLoadSave.h"
#include "dvb/DVBPlaybackCore/CServices.h"
#include "plintor/win/CSchedulerList.h"
#include "plintor/win/ScheduledRecordings.h"

class CPage_Scheduler : public CDialog, public CLoadSave {
public:
    // The recordings it edits, and the channels they record.
    CPage_Scheduler(DVBPlaybackCore::CServices& services, CScheduledRecordings& recordings);

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

    DVBPlaybackCore::CServices& m_services;
    CScheduledRecordings& m_recordings;
    CSchedulerList m_list;
    CButton m_add, m_edit, m_remove;
};
