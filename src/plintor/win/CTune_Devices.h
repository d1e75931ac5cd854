// The second step of the scan wizard: the tuner of the chosen kind, in device-list order. With
// exactly one, it is taken without asking and the step is skipped.
#pragma once

#include <vector>

#include "framework/win/CFont.h"
#include "framework/win/CListCtrl.h"
#include "framework/win/CStatic.h"
#include "plintor/win/CBaseTuneDialog.h"

class CTune_Devices : public CBaseTuneDialog {
public:
    struct Entry {
        CString name;  // the device list's display name, empty for the network device
        CString other; // what the row stands for otherwise
    };

    explicit CTune_Devices(CTuneWizardInterface* wizard) : CBaseTuneDialog(104, 2, wizard) {}

    BOOL OnInitDialog() override;
    int Activate() override;
    void OnNext() override;

    // The rows for a source type, from the device list.
    static std::vector<Entry> EntriesFor(int sourceType);

protected:
    void DoDataExchange(CDataExchange* dx) override;

private:
    CListCtrl m_list;
    CStatic m_text;
    CFont m_textFont;
    std::vector<Entry> m_entries;
};
