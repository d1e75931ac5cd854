// Resource ids of the framework tests.
#pragma once

#define IDR_TEST_FRAME 128
#define IDS_GREETING 100
#define IDS_ONLY_NEUTRAL 101
#define IDS_NOT_IN_SLOVAK 102
#define IDS_DAMAGED 200
#define IDS_APP_TITLE 57344

#define ID_VIEW_HALF 32771
#define ID_FILE_OPEN_MEDIA 32776
#define ID_FILE_CLOSE_MEDIA 32778
#define ID_FILE_EXIT 32780
#define ID_VIEW_ON_TOP 32803
