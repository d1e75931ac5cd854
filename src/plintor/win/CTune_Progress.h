// The last step of the scan wizard: runs the scan on its worker thread and lists what it finds,
// providers on the left, the chosen provider's channels (ticked ones are merged at Finish) on the
// right. The worker reaches the step only through the messages 1025 to 1029.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dvb/DVBPlaybackCore/CQORService.h"
#include "framework/win/CButton.h"
#include "framework/win/CFont.h"
#include "framework/win/CListCtrl.h"
#include "framework/win/CProgressCtrl.h"
#include "framework/win/CStatic.h"
#include "plintor/CScanSource.h"
#include "plintor/CScanWorker.h"
#include "plintor/win/CBaseTuneDialog.h"
#include "plintor/win/CChannels.h"
#include "plintor/win/CPagesListCallback.h"
#include "plintor/win/CProviders.h"

class CTune_Progress : public CBaseTuneDialog {
public:
    enum RunState { kIdle = 77, kScanning = 78 };

    CTune_Progress(CTuneWizardInterface* wizard, CPagesListCallback* view);
    ~CTune_Progress() override;

    BOOL OnInitDialog() override;
    int Activate() override;
    void OnNext() override;

    // Starts a run over the host's choices; E_FAIL while one is going (nothing changes).
    HRESULT StartScan();
    // Empties the found channels (deleting them) and both lists.
    void ClearResults();
    int GetRunState() const { return m_runState; }
    // The channels found so far, in the order they were listed; Finish takes them.
    std::vector<std::unique_ptr<DVBPlaybackCore::CQORService>>& Found() { return m_found; }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    LRESULT OnScanStarted(WPARAM, LPARAM);
    LRESULT OnScanRange(WPARAM count, LPARAM);
    LRESULT OnScanEntry(WPARAM, LPARAM index);
    LRESULT OnScanRecord(WPARAM record, LPARAM);
    LRESULT OnScanEnded(WPARAM stage, LPARAM);
    void OnScanStop();
    void OnProviderChanged(NMHDR* header, LRESULT* result);
    void OnChannelChanged(NMHDR* header, LRESULT* result);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    std::unique_ptr<plintor::CScanSource> MakeSource(int sourceType);
    void RebuildChannels();
    void StopWorker();

    CProviders m_providers;
    CChannels m_channels;
    CProgressCtrl m_progress;
    CStatic m_text;
    CButton m_scanStop;
    CFont m_textFont;
    CPagesListCallback* m_view;
    int m_runState = kIdle;
    bool m_filling = false;
    std::vector<std::unique_ptr<DVBPlaybackCore::CQORService>> m_found;
    std::vector<std::u16string> m_logos;
    std::unique_ptr<plintor::CScanSource> m_source;
    plintor::CScanWorker m_worker;
};
