// The first step of the scan wizard: the kind of network to scan. A kind the installed tuners
// cannot receive is marked and cannot be taken; the network device always can.
#pragma once

#include <memory>
#include <vector>

#include "framework/win/CFont.h"
#include "framework/win/CStatic.h"
#include "plintor/win/CBaseTuneDialog.h"
#include "plintor/win/CSourceTypeItem.h"
#include "plintor/win/CSourceTypeList.h"

class CTune_SourceType : public CBaseTuneDialog {
public:
    explicit CTune_SourceType(CTuneWizardInterface* wizard);

    BOOL OnInitDialog() override;
    int Activate() override;
    void OnNext() override;

    // The items for a machine with these tuning types present (1 DVB-T, 2 DVB-C, 3 DVB-S, 4 ATSC).
    static std::vector<CSourceTypeItem> BuildItems(const bool tuningTypePresent[5]);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnItemChanged(NMHDR* header, LRESULT* result);
    // The list asks for its row height while it is made, before it has its object.
    void OnMeasureItem(int id, MEASUREITEMSTRUCT* measure) override;
    DECLARE_MESSAGE_MAP()

private:
    CSourceTypeList m_list;
    CStatic m_text;
    CStatic m_title;
    CFont m_titleFont;
    std::vector<CSourceTypeItem> m_items;
};
