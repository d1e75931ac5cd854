// One network kind the source-type step offers: its texts, its picture and the wizard's source
// type (1 cable, 2 terrestrial, 3 satellite, 4 ATSC, 5 network device).
#pragma once

#include <windows.h>

#include "framework/CString.h"

struct CSourceTypeItem {
    CString title;
    CString description;
    UINT picture = 0; // bitmap resource; 0 for none
    int sourceType = 0;
    bool available = false;
};
