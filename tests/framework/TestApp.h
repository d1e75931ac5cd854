// The one application object of the framework tests, and what its frame saw.
#pragma once

#include <vector>

#include "framework/win/Afx.h"
#include "CStringPrinter.h"

struct FrameRecord {
    bool created = false;
    bool deleted = false;
    bool closed = false;
    std::vector<UINT> userMessages;  // message numbers, in the order handled
    std::vector<WPARAM> registeredParams;
    std::vector<UINT> rangeCommands;
    int openFileCommands = 0;
    int acceleratorCommands = 0;     // open-file commands that came with the accelerator flag
    LRESULT routedResult = 0;        // what SendMessage returned for a message OnWndMsg consumed
    bool copyDataSenderKnown = false;
    std::vector<wchar_t> copyData;
    UINT fileStates[4] = {};         // GetMenuState of the File popup's items after it opened
    UINT viewStates[5] = {};
    UINT_PTR fileChoice = 1;         // TrackPopupMenu results
    UINT_PTR viewChoice = 1;
    bool timedOut = false;
    bool foregroundForInput = false;
};

extern FrameRecord g_record;
extern UINT g_msgTestRegistered;

class CTestApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
