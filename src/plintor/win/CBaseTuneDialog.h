// One step of the scan wizard: a dialog laid over the host's placeholder, shown by the host when
// its state is entered. Activate fills it (zero: the host skips it); OnNext is the Next button.
#pragma once

#include <windows.h>

#include "framework/win/CDialog.h"
#include "plintor/win/CTuneWizardInterface.h"

class CBaseTuneDialog : public CDialog {
public:
    CBaseTuneDialog(UINT templateId, int state, CTuneWizardInterface* wizard)
        : CDialog(templateId), m_wizard(wizard), m_state(state)
    {
    }

    // Makes the step as a child of `host`, over `area` (host client coordinates), hidden.
    BOOL CreateOver(CWnd* host, const RECT& area);
    virtual void OnNext() { m_wizard->GoToState(m_state, 0); }
    virtual int Activate() { return 1; }
    int GetState() const { return m_state; }

protected:
    CTuneWizardInterface* m_wizard;
    int m_state;
};
