// Resource ids of the modal dialog test.
#pragma once

#define IDD_MODAL 110
#define IDD_MODAL_MISSING 111
#define IDC_COUNT 1001
#define IDC_COUNT_SPIN 1002
#define IDC_TIME 1003
