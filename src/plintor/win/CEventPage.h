// The recording dialog: one scheduled recording's channel, day, start and end time and, in the
// advanced layout, its file, the close-after choice and its repeat. OK fills the record for the
// Task Scheduler job that Apply writes.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "dvb/DVBPlaybackCore/CServices.h"
#include "framework/win/CButton.h"
#include "framework/win/CComboBox.h"
#include "framework/win/CDateTimeCtrl.h"
#include "framework/win/CDialog.h"
#include "framework/win/CEdit.h"
#include "framework/win/CSpinButtonCtrl.h"
#include "plintor/win/ScheduledRecordings.h"

class CEventPage : public CDialog {
public:
    // The window sizes of the two layouts, in pixels.
    static const int kSimpleWidth = 286;
    static const int kAdvancedWidth = 649;
    static const int kHeight = 310;
    enum Source { kFavourites, kTV, kRadio };

    // record null: a new recording, handed out by TakeCreated after OK. `records` are the
    // recordings whose job names a new one must not take.
    CEventPage(DVBPlaybackCore::CServices& services, const CScheduledRecordings& records, CScheduledRecording* record);

    BOOL OnInitDialog() override;
    std::unique_ptr<CScheduledRecording> TakeCreated() { return std::move(m_created); }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;
    void OnFavourites() { SetSource(kFavourites); }
    void OnTV() { SetSource(kTV); }
    void OnRadio() { SetSource(kRadio); }
    void OnLayout() { SetAdvanced(!m_advanced); }
    void OnRepeatChange() { UpdateRepeat(); }
    void OnBrowse();
    void OnIntervalDelta(NMHDR* header, LRESULT* result);

    DECLARE_MESSAGE_MAP()

private:
    void SetTexts();
    void SetSource(int source);
    void SetAdvanced(bool advanced);
    void UpdateRepeat();
    // The names no new job may take: every record's and every job file's in the Tasks folder.
    std::vector<std::u16string> TakenNames() const;

    DVBPlaybackCore::CServices& m_services;
    const CScheduledRecordings& m_records;
    CScheduledRecording* m_record;
    std::unique_ptr<CScheduledRecording> m_created;
    DVBPlaybackCore::CServices::ServiceArray m_channels; // entry i of the channel box is channel i
    uint16_t m_transportStreamId = 0;
    uint16_t m_serviceId = 0;
    std::u16string m_description;
    uint16_t m_interval = 1;
    bool m_advanced = false;

    CButton m_sources[3];
    CComboBox m_channelBox;
    CDateTimeCtrl m_date, m_startTime, m_endTime;
    CButton m_layout;
    CEdit m_path;
    CButton m_closeAfter;
    CComboBox m_repeat;
    CEdit m_intervalField;
    CSpinButtonCtrl m_spin;
    CButton m_weekDays[7];
};
