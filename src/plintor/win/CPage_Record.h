// The Record Options page: the recordings folder and the share of the free disk space one
// recording may take.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/CString.h"
#include "framework/win/CButton.h"
#include "framework/win/CDialog.h"
#include "framework/win/CEdit.h"
#include "framework/win/CFont.h"
#include "framework/win/CSliderCtrl.h"
#include "framework/win/CStatic.h"
#include "plintor/win/CLoadSave.h"

class CPage_Record : public CDialog, public CLoadSave {
public:
    CPage_Record();

    void Save() override;
    void Load() override;
    void UpdateTexts() override;

    BOOL OnInitDialog() override;
    // Shows path, measures the free space of its drive and updates the share text.
    void SetRecordFolder(const CString& path);
    uint64_t GetFreeBytes() const { return m_freeSpace; }
    // "...\My Videos\Tolvik recordings" of the user's shell folders.
    static CString DefaultFolder();
    // The share text for a percentage and a free space in bytes.
    static CString ShareText(int percent, uint64_t freeBytes);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnBrowse();
    void OnHScroll(UINT code, UINT position, CWnd* bar);
    void UpdateShareText();

    DECLARE_MESSAGE_MAP()

private:
    CEdit m_folder;
    CButton m_browse;
    CStatic m_headingLocation;
    CStatic m_headingSize;
    CSliderCtrl m_slider;
    CStatic m_share;
    CFont m_headingFont;
    uint64_t m_freeSpace = 0;
};
