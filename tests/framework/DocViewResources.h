// Resource ids of the document, form and dialog test.
#pragma once

#define IDR_DOCVIEW 128
#define IDR_NO_FORM 129
#define IDD_FORM 101
#define IDD_PAGE 102
#define IDD_MISSING 150
#define IDC_PROGRESS 1006
#define IDC_PAGE_AREA 1017
#define IDC_LIST 1018
#define IDC_CHECK 1002
#define IDC_PUSH 1045
#define IDC_COMBO 1048
#define IDC_SLIDER 1051
