// The third step of the scan wizard: what the scan visits. A known network (one of the
// transponder list's for a tuner; an announced multicast source, or all of them, for the network
// device) or one transponder or group typed in by hand. The step refills itself when the
// announcements change; while another step is on screen only its rows change.
#pragma once

#include <memory>
#include <vector>

#include "dvb/libDVB_EthernetDevice/CSAPcallback.h"
#include "framework/win/CButton.h"
#include "framework/win/CComboBox.h"
#include "framework/win/CEdit.h"
#include "framework/win/CFont.h"
#include "framework/win/CStatic.h"
#include "plintor/win/CBaseTuneDialog.h"
#include "plintor/win/CTransponderListReader.h"
#include "plintor/win/CTuneSpaceItem.h"

namespace libDVB_EthernetDevice {
class CSAPParser;
}

class CTune_TransponderList : public CBaseTuneDialog, public libDVB_EthernetDevice::CSAPcallback {
public:
    static constexpr UINT_PTR kUpdatedTimer = 1000;

    explicit CTune_TransponderList(CTuneWizardInterface* wizard);
    ~CTune_TransponderList() override;

    BOOL OnInitDialog() override;
    int Activate() override;
    void OnNext() override;
    void OnAnnouncementsChanged() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnByNetwork();
    void OnManual();
    void OnTimer(UINT_PTR id);
    void Revalidate();
    DECLARE_MESSAGE_MAP()

private:
    bool IsManual() const { return m_manual.GetCheck() == BST_CHECKED; }
    void SetMode(bool manual);
    void Relabel();
    CString Field(int id) const;
    int SourceType() const;
    bool IsValid() const;
    void ShowField(int label, int field, int unit, UINT labelText, UINT unitText, bool shown);

    CButton m_byNetwork;
    CButton m_manual;
    CComboBox m_networks;
    CComboBox m_diseqc;
    CStatic m_text;
    CStatic m_updated;
    CFont m_boldFont;
    std::vector<std::unique_ptr<libDVB_EthernetDevice::CTuneSpaceItem>> m_items;
    bool m_refreshing = false;
    size_t m_announcementCount = 0;
    CTransponderListReader m_reader;
    std::unique_ptr<libDVB_EthernetDevice::CSAPParser> m_sap;
};
