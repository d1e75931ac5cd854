// The updater's form (dialog 101): the account, the check button and the update details; the
// exchange with the update script runs behind the button.
#pragma once

#include <windows.h>

#include "brenvo/win/CUpdateExchange.h"
#include "framework/win/CEdit.h"
#include "framework/win/CFormView.h"
#include "framework/win/CProgressCtrl.h"
#include "framework/win/CRuntimeClass.h"
#include "framework/win/CStatic.h"

struct CDataExchange;

class CbrenvoView : public CFormView, private CUpdateUi {
    DECLARE_DYNCREATE(CbrenvoView)

public:
    CbrenvoView();
    ~CbrenvoView() override;

    void OnInitialUpdate() override;

protected:
    void DoDataExchange(CDataExchange* dx);
    void OnCheckForUpdates();

    DECLARE_MESSAGE_MAP()

private:
    void ShowStatus(const char* text) override;
    void ShowMessage(const char* text) override;
    void ShowDownload(bool shown) override;
    void SetProgress(int position) override;
    void Quit() override;

    CUpdateExchange m_exchange;
    CEdit m_account;
    CEdit m_password;
    CProgressCtrl m_progress;
    CStatic m_headingAccount;
    CStatic m_headingDetails;
    CStatic m_status;
    CStatic m_downloading;
    HFONT m_boldFont = nullptr;
};
