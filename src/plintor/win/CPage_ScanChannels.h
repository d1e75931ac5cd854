// The "Scan Channels" page: hosts the scan wizard's four steps over its placeholder, keeps their
// choices, drives Next, Previous and Restart, shows the choices so far in one line and, at Finish,
// merges the ticked channels into the configurator's channel list.
#pragma once

#include <memory>
#include <vector>

#include "dvb/DVBPlaybackCore/CServices.h"
#include "framework/win/CButton.h"
#include "framework/win/CDialog.h"
#include "framework/win/CListCtrl.h"
#include "framework/win/CStatic.h"
#include "plintor/win/CLoadSave.h"
#include "plintor/win/CPagesListCallback.h"
#include "plintor/win/CTuneWizardInterface.h"
#include "plintor/win/CTune_Devices.h"
#include "plintor/win/CTune_Progress.h"
#include "plintor/win/CTune_SourceType.h"
#include "plintor/win/CTune_TransponderList.h"

class CPage_ScanChannels : public CDialog, public CTuneWizardInterface, public CLoadSave {
public:
    // The page list's row that Finish brings up: the television channels.
    static const int kChannelsPageRow = 3;

    CPage_ScanChannels(DVBPlaybackCore::CServices* services, CPagesListCallback* view, CListCtrl* pageList);
    ~CPage_ScanChannels() override;

    BOOL OnInitDialog() override;

    void SetNextButton(bool enable, const CString& text) override;
    void SetNextText(const CString& text) override;
    void EnableBackAndRestart(bool previous, bool restart) override;
    void GoToState(int from, int state) override;
    void GetSourceType(int* type) override { *type = m_sourceType; }
    void SetSourceType(int type) override { m_sourceType = type; }
    void GetDevice(CString* name, int* marker) override;
    void SetDevice(const CString& name, int marker) override;
    void GetNetwork(CString* name, intptr_t* value, uint32_t* diseqcMode) override;
    void SetNetwork(const CString& name, intptr_t value, uint32_t diseqcMode) override;
    void GetTuneList(CTuneList* out) override { *out = m_tuneList; }
    void SetTuneList(const CTuneList& in) override { m_tuneList = in; }

    void Save() override {}
    void Load() override {}
    void UpdateTexts() override;

    // The summary line for these choices.
    static CString Summary(int sourceType, const CString& device, int deviceMarker, const CString& network,
                           intptr_t networkValue);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnNextButton();
    void OnPrevious();
    void OnRestart();
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void Show(CBaseTuneDialog* step);
    void Finish();
    void UpdateSummary();
    CBaseTuneDialog* Head() const { return m_history.empty() ? nullptr : m_history.back(); }

    CButton m_next;
    CButton m_previous;
    CButton m_restart;
    CStatic m_summary;
    std::vector<CBaseTuneDialog*> m_history; // the last is on screen; not owned
    int m_sourceType = 0;
    CString m_device;
    int m_deviceMarker = 0;
    CString m_network;
    intptr_t m_networkValue = 0;
    uint32_t m_diseqcMode = 0;
    CTuneList m_tuneList;
    std::unique_ptr<CTune_SourceType> m_sourceTypeStep;
    std::unique_ptr<CTune_Devices> m_devicesStep;
    std::unique_ptr<CTune_TransponderList> m_transpondersStep;
    std::unique_ptr<CTune_Progress> m_progressStep;
    DVBPlaybackCore::CServices* m_services;
    CPagesListCallback* m_view;
    CListCtrl* m_pageList;
};
