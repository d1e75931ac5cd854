// Resource ids of the modal dialog test.
#pragma once

#define IDD_MODAL 110
#define IDD_MODAL_MISSING 111
#define IDC_COUNT 1001
#define IDC_COUNT_SPIN 1002
#define IDC_TIME 1003
#define IDD_COLUMNS 112
#define IDC_ROWS 1004
#define IDC_SEARCH 1005
