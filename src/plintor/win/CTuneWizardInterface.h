// How the scan wizard's steps talk to the page that hosts them. The network value is
// pointer-sized (a file network's tuning space) and the DiSEqC mode goes by value.
#pragma once

#include <cstdint>

#include "framework/CString.h"
#include "plintor/win/CTuneList.h"

class CTuneWizardInterface {
public:
    // Enables or disables Next; relabels it unless `text` is empty.
    virtual void SetNextButton(bool enable, const CString& text) = 0;
    virtual void SetNextText(const CString& text) = 0;
    virtual void EnableBackAndRestart(bool previous, bool restart) = 0;
    virtual void GoToState(int from, int state) = 0;
    virtual void GetSourceType(int* type) = 0;
    virtual void SetSourceType(int type) = 0;
    virtual void GetDevice(CString* name, int* marker) = 0;
    virtual void SetDevice(const CString& name, int marker) = 0;
    virtual void GetNetwork(CString* name, intptr_t* value, uint32_t* diseqcMode) = 0;
    virtual void SetNetwork(const CString& name, intptr_t value, uint32_t diseqcMode) = 0;
    virtual void GetTuneList(CTuneList* out) = 0;
    virtual void SetTuneList(const CTuneList& in) = 0;

protected:
    ~CTuneWizardInterface() = default;
};
